#include "ui/qt/RecentFiles.h"

#include <QStandardPaths>
#include <algorithm>
#include <filesystem>

#include "base/TextFile.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

constexpr size_t kMaxLine = 65535;

}  // namespace

CRecentFiles::CRecentFiles(std::string file) : file_(std::move(file))
{
    CTextReader reader;
    if (!reader.Open(file_)) return;
    std::string line;
    while (paths_.size() < kMaxEntries && reader.ReadLine(line, kMaxLine)) {
        TrimRight(line, "\n");
        if (!line.empty() && std::find(paths_.begin(), paths_.end(), line) == paths_.end()) paths_.push_back(line);
    }
}

void CRecentFiles::Add(const std::string& path)
{
    if (path.empty() || path.find('\n') != std::string::npos) return;
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxEntries) paths_.resize(kMaxEntries);
    Save();
}

void CRecentFiles::Remove(const std::string& path)
{
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    Save();
}

std::string CRecentFiles::DefaultFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return PathFromQString(folder) + "/Kiv Tesmer/recent-files.txt";
}

void CRecentFiles::Save() const
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), ignored);
    CTextWriter writer;
    if (!writer.Open(file_)) return;  // the list is a convenience: an unwritable folder only loses it
    for (const std::string& path : paths_) {
        writer.Write(path);
        writer.Write("\n");
    }
}

}  // namespace kiv
