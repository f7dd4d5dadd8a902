#pragma once
// Line reading for MSP libraries. MSP text comes from every platform, so a line may end in LF,
// CR LF or a lone CR (old Macintosh exports); each counts as one line end and the line numbers
// that messages quote follow that count. Lines are handed out as views into one large buffer,
// without their line end; a line longer than kMspLineLimit comes in pieces of that length, so a
// file without any line end never makes the reader hold more than one buffer.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextFile.h"

namespace kiv {

constexpr size_t kMspLineLimit = size_t(1) << 20;

class CMspLineReader {
public:
    bool Open(const std::string& path);
    void Close();

    // Next line without its line end; the view stays valid until the next call. False at the
    // end of the file.
    bool ReadLine(std::string_view& line);

    // Number of the line last read (1 for the first).
    int64_t LineNumber() const { return lineNumber_; }
    // Bytes consumed so far and the size of the file, for progress reports.
    int64_t Position() const { return consumed_; }
    int64_t FileSize() const { return size_; }

private:
    // Moves the unread rest to the front and reads more after it.
    void Fill();

    FilePtr file_;
    std::vector<char> buffer_;
    size_t start_ = 0;  // first unread byte
    size_t end_ = 0;  // one past the last byte read from the file
    bool eof_ = false;
    int64_t consumed_ = 0;
    int64_t size_ = 0;
    int64_t lineNumber_ = 0;
};

}  // namespace kiv
