#pragma once
// printf-style formatting into a std::string. File output uses the printf formats of the file
// layouts verbatim; stream or std::format defaults differ and are not used for files.
#include <cstdarg>
#include <string>

namespace kiv {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

}  // namespace kiv
