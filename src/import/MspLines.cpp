#include "import/MspLines.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kiv {

namespace {

// The buffer starts small (most files are read in chunks of this size) and grows while a line
// needs more, up to twice the line limit.
constexpr size_t kFirstChunk = size_t(1) << 18;
constexpr size_t kLargestBuffer = 2 * kMspLineLimit;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

bool CMspLineReader::Open(const std::string& path)
{
    Close();
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) return false;
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    size_ = error ? 0 : static_cast<int64_t>(bytes);
    return true;
}

void CMspLineReader::Close()
{
    file_.reset();
    buffer_.clear();
    start_ = end_ = 0;
    eof_ = false;
    consumed_ = size_ = lineNumber_ = 0;
}

void CMspLineReader::Fill()
{
    if (start_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(std::clamp(2 * buffer_.size(), kFirstChunk, kLargestBuffer));
    const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
    if (got == 0) eof_ = true;
    end_ += got;
}

bool CMspLineReader::ReadLine(std::string_view& line)
{
    line = {};
    if (!file_) return false;
    for (;;) {
        const char* first = buffer_.data() + start_;
        const size_t available = end_ - start_;
        const size_t limit = std::min(available, kMspLineLimit);
        const char* stop = std::find_if(first, first + limit, IsLineEnd);
        const size_t length = static_cast<size_t>(stop - first);
        const bool found = length < limit;
        // A line end not yet in the buffer, or a CR whose LF may follow in the next chunk.
        const bool lineCut = !found && available < kMspLineLimit;
        const bool crAtEnd = found && *stop == '\r' && length + 1 == available;
        if (!eof_ && (lineCut || crAtEnd)) {
            Fill();
            continue;
        }
        if (available == 0) return false;
        size_t consumed = length;
        if (found) consumed += (*stop == '\r' && length + 1 < available && stop[1] == '\n') ? 2 : 1;
        line = std::string_view(first, length);
        start_ += consumed;
        consumed_ += static_cast<int64_t>(consumed);
        ++lineNumber_;
        return true;
    }
}

}  // namespace kiv
