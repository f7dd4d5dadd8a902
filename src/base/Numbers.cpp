#include "base/Numbers.h"

#include <cstdlib>
#include <string>

namespace kiv {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipSpace(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    return i;
}

// Length of the decimal number pattern at the start of text, 0 when there is none.
size_t DecimalLength(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The decimal number of the given length at the start of text when it has at most 15 digits
// and no exponent, the common case: its digits make an integer that a double holds exactly, and
// one division by a power of ten that a double also holds exactly rounds correctly, as strtod
// does. False for other numbers.
bool ShortDecimal(std::string_view text, size_t length, double& value)
{
    size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || negative) ++i;
    int64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    for (; i < length; ++i) {
        if (text[i] == '.') {
            point = true;
            continue;
        }
        if (!IsDigit(text[i]) || ++count > 15) return false;
        digits = digits * 10 + (text[i] - '0');
        decimals += point;
    }
    const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

int32_t ParseInt(std::string_view text)
{
    size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value >= limit) {
            value = limit;
            // Consume the remaining digits; the value stays clamped.
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

size_t ScanReal(std::string_view text, double& value)
{
    size_t length = DecimalLength(text);
    if (length == 0) return 0;
    if (ShortDecimal(text, length, value)) return length;
    char small[64];
    std::string large;
    const char* start;
    if (length < sizeof small) {
        text.copy(small, length);
        small[length] = '\0';
        start = small;
    } else {
        large.assign(text.substr(0, length));
        start = large.c_str();
    }
    value = std::strtod(start, nullptr);
    return length;
}

double ParseReal(std::string_view text)
{
    double value = 0.0;
    ScanReal(text.substr(SkipSpace(text)), value);
    return value;
}

}  // namespace kiv
