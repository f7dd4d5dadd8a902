#pragma once
// Reading numbers out of the lines of spectrum and structure files, in the C manner the formats
// were made with (white space skipped, decimal notation, "." as the decimal point), but without
// copying each number into a C string first: a library import reads millions of them.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kiv {

inline bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Skips white space from pos, then reads a decimal real (sign, digits, point, exponent) and moves
// pos past it. False, with pos and value left alone, when no number starts there. A value beyond
// the double range reads as infinity, as strtod gives it.
bool ScanDouble(std::string_view text, size_t& pos, double& value);

// The same for a base-10 integer; values beyond the 32-bit range are clamped to it.
bool ScanInt32(std::string_view text, size_t& pos, int32_t& value);

// True when a number (after optional blanks and tabs) starts the text.
bool StartsWithNumber(std::string_view text);

// Moves pos over white space and the "," and ";" that separate the numbers of point lists.
inline void SkipSeparators(std::string_view text, size_t& pos)
{
    while (pos < text.size() && (IsWhite(text[pos]) || text[pos] == ',' || text[pos] == ';')) ++pos;
}

// A coordinate as the structure arrays hold it: saturated to the float range, NaN as 0.
float ToFloat(double value);

// text with a trailing "\n" (and a CR before it) removed.
inline std::string_view WithoutLineEnd(std::string_view text)
{
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return text;
}

// text without blanks (and tabs) on both sides.
std::string_view TrimBlanks(std::string_view text);

// Columns first..first+count-1 of a fixed-column line (empty or shorter past its end).
inline std::string_view Columns(std::string_view line, size_t first, size_t count = std::string_view::npos)
{
    return first < line.size() ? line.substr(first, count) : std::string_view();
}

}  // namespace kiv
