#include "ui/qt/DroppedFiles.h"

#include <filesystem>

#include "base/TextFile.h"

namespace kiv {

DroppedFileKind KindOfDroppedFile(const std::string& path)
{
    const std::string extension = std::filesystem::path(path).extension().string();
    if (EqualsIgnoreCase(extension, ".ssd")) return DroppedFileKind::Library;
    for (const char* jcamp : {".jdx", ".dx", ".jcamp"}) {
        if (EqualsIgnoreCase(extension, jcamp)) return DroppedFileKind::Jcamp;
    }
    if (EqualsIgnoreCase(extension, ".txt")) return DroppedFileKind::Script;
    return DroppedFileKind::Unknown;
}

}  // namespace kiv
