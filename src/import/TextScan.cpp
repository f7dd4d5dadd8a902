#include "import/TextScan.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstdlib>
#include <string>

namespace kiv {

namespace {

// Length of the decimal number at the start of text, 0 when none starts there.
size_t DecimalLength(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigitChar(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigitChar(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigitChar(text[j])) {
            while (j < text.size() && IsDigitChar(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace

namespace {

// Exact powers of ten: a double holds them without rounding up to 10^22.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common short numbers of peak tables ("57", "12.5", "-0.25") without the general parser:
// with at most 15 digits the digits form an exact integer below 2^53 and one division by an
// exact power of ten rounds correctly, so the result equals strtod's. Returns the length read,
// 0 when the number needs the general parser (exponent, more digits) or is not a number.
size_t ScanShortDecimal(std::string_view text, double& value)
{
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    uint64_t digits = 0;
    int count = 0;
    int fraction = 0;
    while (i < text.size() && IsDigitChar(text[i])) {
        digits = digits * 10 + static_cast<uint64_t>(text[i++] - '0');
        ++count;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigitChar(text[i])) {
            digits = digits * 10 + static_cast<uint64_t>(text[i++] - '0');
            ++count;
            ++fraction;
        }
    }
    if (count == 0 || count > 15) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) return 0;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction];
    value = negative ? -magnitude : magnitude;
    return i;
}

}  // namespace

bool ScanDouble(std::string_view text, size_t& pos, double& value)
{
    size_t i = pos;
    while (i < text.size() && IsWhite(text[i])) ++i;
    if (const size_t length = ScanShortDecimal(text.substr(std::min(i, text.size())), value)) {
        pos = i + length;
        return true;
    }
    const std::string_view rest = text.substr(std::min(i, text.size()));
    const size_t length = DecimalLength(rest);
    if (length == 0) return false;
    const char* first = rest.data();
    const char* last = first + length;
    if (*first == '+') ++first;  // from_chars takes no plus sign
    double parsed = 0;
    const std::from_chars_result result = std::from_chars(first, last, parsed);
    if (result.ec != std::errc()) {
        // Out of range: strtod's answer (infinity or zero with the sign).
        const std::string copy(rest.substr(0, length));
        parsed = std::strtod(copy.c_str(), nullptr);
    }
    value = parsed;
    pos = i + length;
    return true;
}

bool ScanInt32(std::string_view text, size_t& pos, int32_t& value)
{
    size_t i = pos;
    while (i < text.size() && IsWhite(text[i])) ++i;
    size_t j = i;
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negative = text[j++] == '-';
    if (j >= text.size() || !IsDigitChar(text[j])) return false;
    int64_t magnitude = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; j < text.size() && IsDigitChar(text[j]); ++j) {
        magnitude = magnitude * 10 + (text[j] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    pos = j;
    return true;
}

bool StartsWithNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return DecimalLength(text.substr(i)) > 0;
}

float ToFloat(double value)
{
    if (!(value == value)) return 0.0f;
    return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace kiv
