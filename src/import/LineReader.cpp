#include "import/LineReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace kiv {

namespace {

constexpr size_t kChunk = size_t(1) << 20;

// Buffers of readers that closed, kept for the next readers: a fresh buffer costs a page fault
// for every 4 KB on its first fill, and the readers of the ranges of a large file come and go by
// the hundred on several threads.
class CBufferPool {
public:
    std::unique_ptr<char[]> Take()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (buffers_.empty()) return nullptr;
        std::unique_ptr<char[]> buffer = std::move(buffers_.back());
        buffers_.pop_back();
        return buffer;
    }
    void Give(std::unique_ptr<char[]> buffer)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (buffers_.size() < kKept) buffers_.push_back(std::move(buffer));
    }

private:
    static constexpr size_t kKept = 16;
    std::mutex mutex_;
    std::vector<std::unique_ptr<char[]>> buffers_;
};

CBufferPool& Pool()
{
    static CBufferPool pool;
    return pool;
}

}  // namespace

CLineReader::~CLineReader() { Close(); }

bool CLineReader::Open(const std::string& path)
{
    return OpenRange(path, 0, INT64_MAX);
}

bool CLineReader::OpenRange(const std::string& path, int64_t begin, int64_t end)
{
    Close();
    file_ = OpenBytes(path, size_);
    if (!file_) return false;
    if (begin > 0 && std::fseek(file_.get(), static_cast<long>(begin), SEEK_SET) != 0) {
        file_.reset();
        return false;
    }
    begin_ = begin;
    unread_ = std::max<int64_t>(0, end - begin);
    return true;
}

void CLineReader::ExtendTo(int64_t end)
{
    const int64_t rangeEnd = begin_ + consumed_ + static_cast<int64_t>(end_ - start_) + unread_;
    if (end <= rangeEnd) return;
    unread_ += end - rangeEnd;
    eof_ = false;
}

void CLineReader::Close()
{
    file_.reset();
    if (capacity_ == kChunk) Pool().Give(std::move(buffer_));
    buffer_.reset();
    capacity_ = 0;
    start_ = end_ = nul_ = 0;
    eof_ = false;
    begin_ = 0;
    unread_ = 0;
    consumed_ = 0;
    size_ = 0;
    lineNumber_ = 0;
    atLineStart_ = true;
}

void CLineReader::Fill(size_t want)
{
    if (end_ - start_ >= want || eof_ || !file_) return;
    // Move the unread rest to the front, grow when a single line needs more room, then read.
    if (start_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
    const size_t needed = std::max(want, kChunk);
    if (capacity_ < needed) {
        std::unique_ptr<char[]> bigger(needed == kChunk ? Pool().Take() : nullptr);
        if (!bigger) bigger.reset(new char[needed]);
        if (end_ > 0) std::memcpy(bigger.get(), buffer_.get(), end_);
        buffer_ = std::move(bigger);
        capacity_ = needed;
    }
    while (end_ < want && !eof_) {
        const size_t room = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(capacity_ - end_), unread_));
        const size_t got = room > 0 ? std::fread(buffer_.get() + end_, 1, room, file_.get()) : 0;
        if (got == 0) eof_ = true;
        end_ += got;
        unread_ -= static_cast<int64_t>(got);
    }
    FindNul(start_);
}

void CLineReader::FindNul(size_t from)
{
    const void* nul = std::memchr(buffer_.get() + from, '\0', end_ - from);
    nul_ = nul ? static_cast<size_t>(static_cast<const char*>(nul) - buffer_.get()) : end_;
}

bool CLineReader::ReadLine(std::string_view& line, size_t maxChars)
{
    line = {};
    if (!file_ || maxChars == 0) return false;
    // A line of maxChars characters may take maxChars + 1 bytes on disk (its CR LF).
    const size_t window = maxChars + 1;
    Fill(window);
    const size_t available = end_ - start_;
    if (available == 0) return false;
    char* const first = buffer_.get() + start_;
    const size_t limit = std::min(window, available);
    const char* newline = static_cast<const char*>(std::memchr(first, '\n', limit));
    size_t raw = 0;  // bytes consumed
    size_t length = 0;  // characters of the line, CR LF counted as one
    if (newline) {
        raw = static_cast<size_t>(newline - first) + 1;
        length = raw;
        if (raw >= 2 && first[raw - 2] == '\r') {
            first[raw - 2] = '\n';
            --length;
        }
        if (length > maxChars) {
            // No end of line within the limit: a piece of maxChars characters.
            raw = length = maxChars;
        }
    } else {
        // The file ends without a line end, or the line goes on beyond the limit.
        raw = length = std::min(maxChars, available);
    }
    if (atLineStart_) ++lineNumber_;
    atLineStart_ = length > 0 && first[length - 1] == '\n';
    if (nul_ < start_ + length) length = nul_ - start_;
    start_ += raw;
    consumed_ += static_cast<int64_t>(raw);
    if (nul_ < start_) FindNul(start_);
    line = std::string_view(first, length);
    return true;
}

}  // namespace kiv
