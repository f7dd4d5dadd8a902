#pragma once
// Path helpers. Names may come from Windows command files, so both "/" and "\" separate folders;
// new paths are joined with "/".
#include <string>
#include <string_view>

namespace kiv {

// The part after the last "/" or "\" (all of path when there is none).
std::string_view FileNamePart(std::string_view path);
// path without its last count characters (empty when it is shorter), as in "the .ssd path
// without its last four characters" for a library's stem.
std::string WithoutLast(std::string_view path, size_t count);
// The file name without its folder and its extension (the text from the last "." on).
std::string FileTitle(std::string_view path);
// path without the extension of its file name.
std::string WithoutExtension(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view name);
// A file in the platform's temporary folder: the default place of the progress, stop and
// end-marker files.
std::string TempFolderFile(std::string_view name);

bool FileExists(const std::string& path);
// Deletes a file; false when it did not exist or could not be deleted.
bool RemoveFile(const std::string& path);

}  // namespace kiv
