#pragma once
// Files dropped on the main window (or named on its command line): what each one is by its name.
#include <string>

namespace kiv {

enum class DroppedFileKind { Library, Jcamp, Script, Unknown };

// ".ssd" a library, ".jdx" / ".dx" / ".jcamp" JCAMP-DX text, ".txt" a script (ignoring case).
DroppedFileKind KindOfDroppedFile(const std::string& path);

}  // namespace kiv
