#pragma once
// The most-recently-used list of the File menu: up to eight paths, newest first, kept in a small
// text file (one path a line) in the user's configuration folder.
#include <string>
#include <vector>

namespace kiv {

class CRecentFiles {
public:
    static constexpr size_t kMaxEntries = 8;

    // Reads the list from file (a missing or unreadable file gives an empty list).
    explicit CRecentFiles(std::string file);

    // Puts path at the front (moving it there when already listed) and writes the list.
    void Add(const std::string& path);
    // Drops path (e.g. when it can no longer be opened) and writes the list.
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }

    // "<configuration folder>/Kiv Tesmer/recent-files.txt"
    static std::string DefaultFile();

private:
    void Save() const;

    std::string file_;
    std::vector<std::string> paths_;
};

}  // namespace kiv
