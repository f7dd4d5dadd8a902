#pragma once
// Names, comments and paths are 8-bit byte strings in the system's files (Latin-1 on the
// desktop); paths chosen in dialogs come back in the file system's local encoding.
#include <QString>
#include <string>

namespace kiv {

QString ToQString(const std::string& text);  // Latin-1
std::string FromQString(const QString& text);  // Latin-1; characters beyond it become '?'
QString PathToQString(const std::string& path);  // local 8-bit encoding of the file system
std::string PathFromQString(const QString& path);

}  // namespace kiv
