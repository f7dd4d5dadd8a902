#pragma once
// Fast line reading for the spectrum and structure importers. It keeps the line rules of the
// text formats (a line is read with a character limit like fgets: a longer physical line comes
// in pieces; CR LF reads as "\n"; a NUL byte ends the line's text) but hands out views into one
// large buffer instead of copying byte by byte, because published libraries run to hundreds of
// megabytes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/TextFile.h"

namespace kiv {

class CLineReader {
public:
    CLineReader() = default;
    ~CLineReader();
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    // False also for a folder: it has no lines.
    bool Open(const std::string& path);
    // Only the bytes from begin up to end (file offsets; begin at the start of a line): the
    // reader ends there as at the end of a file, and its line numbers count from begin.
    bool OpenRange(const std::string& path, int64_t begin, int64_t end);
    // Lets a reader whose range ended go on up to a later end.
    void ExtendTo(int64_t end);
    bool IsOpen() const { return file_ != nullptr; }
    void Close();

    // Next line of at most maxChars characters, "\n" included when it ends there. The view stays
    // valid until the next call. Returns false at the end of the file.
    bool ReadLine(std::string_view& line, size_t maxChars);

    // The number of the physical line the last ReadLine returned (1 for the first line; the
    // pieces of a line that is longer than the limit share its number).
    int64_t LineNumber() const { return lineNumber_; }

    // Bytes consumed so far (from the range's start) and the size of the file, for progress
    // reports.
    int64_t Position() const { return consumed_; }
    int64_t FileSize() const { return size_; }

private:
    // Makes at least want bytes available after start_ unless the file ends first.
    void Fill(size_t want);
    // Looks for the first NUL byte from buffer index from on (end_ when there is none): the
    // buffer is searched once, not every line.
    void FindNul(size_t from);

    FilePtr file_;
    std::unique_ptr<char[]> buffer_;  // not cleared: every byte used is read from the file first
    size_t capacity_ = 0;
    size_t start_ = 0;  // first unread byte
    size_t end_ = 0;  // one past the last byte read from the file
    size_t nul_ = 0;  // the first NUL byte at or after start_, end_ when none
    bool eof_ = false;
    int64_t begin_ = 0;  // the range's first byte in the file
    int64_t unread_ = 0;  // bytes of the range not yet read from the file
    int64_t consumed_ = 0;
    int64_t size_ = 0;
    int64_t lineNumber_ = 0;
    bool atLineStart_ = true;
};

}  // namespace kiv
