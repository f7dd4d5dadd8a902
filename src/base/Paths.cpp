#include "base/Paths.h"

#include <cstdio>
#include <filesystem>

namespace kiv {

std::string_view FileNamePart(std::string_view path)
{
    size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string WithoutLast(std::string_view path, size_t count)
{
    return std::string(path.size() > count ? path.substr(0, path.size() - count) : std::string_view());
}

std::string FileTitle(std::string_view path)
{
    const std::string_view fileName = FileNamePart(path);
    return std::string(fileName.substr(0, fileName.rfind('.')));
}

std::string WithoutExtension(std::string_view path)
{
    return WithoutLast(path, FileNamePart(path).size() - FileTitle(path).size());
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string out(folder);
    if (!out.empty() && out.back() != '/' && out.back() != '\\') out += '/';
    out += name;
    return out;
}

std::string TempFolderFile(std::string_view name)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) folder = "/tmp";
    return JoinPath(folder.string(), name);
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

bool RemoveFile(const std::string& path)
{
    return !path.empty() && std::remove(path.c_str()) == 0;
}

}  // namespace kiv
