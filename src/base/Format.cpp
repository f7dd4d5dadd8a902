#include "base/Format.h"

#include <cstdio>

namespace kiv {

std::string FormatV(const char* format, va_list args)
{
    char small[256];
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    std::string out;
    if (length >= 0 && static_cast<size_t>(length) < sizeof small) {
        out.assign(small, static_cast<size_t>(length));
    } else if (length >= 0) {
        out.resize(static_cast<size_t>(length));
        std::vsnprintf(out.data(), out.size() + 1, format, copy);
    }
    va_end(copy);
    return out;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = FormatV(format, args);
    va_end(args);
    return out;
}

}  // namespace kiv
