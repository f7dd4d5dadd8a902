#include "base/StreamReporter.h"

#include "base/Format.h"

namespace kiv {

void CStreamReporter::Report(ErrorKind kind, const std::string& message)
{
    std::string text = ErrorText(kind, message);
    if (!last_.empty() && text == last_) {
        ++repeats_;
        return;
    }
    Flush();
    std::fputs(text.c_str(), stream_);
    std::fputc('\n', stream_);
    std::fflush(stream_);
    last_ = std::move(text);
}

void CStreamReporter::Flush()
{
    if (repeats_ > 0) {
        std::fputs(Format("... repeated %ld times\n", repeats_).c_str(), stream_);
        std::fflush(stream_);
    }
    repeats_ = 0;
}

}  // namespace kiv
