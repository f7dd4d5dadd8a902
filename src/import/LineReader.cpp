#include "import/LineReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kiv {

namespace {

constexpr size_t kChunk = size_t(1) << 20;

}  // namespace

bool CLineReader::Open(const std::string& path)
{
    Close();
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return false;
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) return false;
    const auto bytes = std::filesystem::file_size(path, error);
    size_ = error ? 0 : static_cast<int64_t>(bytes);
    return true;
}

void CLineReader::Close()
{
    file_.reset();
    buffer_.clear();
    start_ = end_ = nul_ = 0;
    eof_ = false;
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
        std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
    const size_t needed = std::max(want, kChunk);
    if (buffer_.size() < needed) buffer_.resize(needed);
    while (end_ < want && !eof_) {
        const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
        if (got == 0) eof_ = true;
        end_ += got;
    }
    FindNul(start_);
}

void CLineReader::FindNul(size_t from)
{
    const void* nul = std::memchr(buffer_.data() + from, '\0', end_ - from);
    nul_ = nul ? static_cast<size_t>(static_cast<const char*>(nul) - buffer_.data()) : end_;
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
    char* const first = buffer_.data() + start_;
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
