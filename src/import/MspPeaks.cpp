#include "import/MspPeaks.h"

#include <algorithm>
#include <cmath>

#include "import/TextScan.h"

namespace kiv {

namespace {

bool IsPairSeparator(char c) { return IsWhite(c) || c == ',' || c == ';' || c == ':' || c == '(' || c == ')'; }
bool IsInnerSeparator(char c) { return IsWhite(c) || c == ',' || c == ':'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

void SkipWhile(std::string_view text, size_t& pos, bool (*predicate)(char))
{
    while (pos < text.size() && predicate(text[pos])) ++pos;
}

// Decimals written in the number text[from, to) (an exponent is not counted).
int DecimalsIn(std::string_view text, size_t from, size_t to)
{
    const size_t point = text.substr(from, to - from).find('.');
    if (point == std::string_view::npos) return 0;
    int count = 0;
    for (size_t i = from + point + 1; i < to && IsDigitChar(text[i]); ++i) ++count;
    return count;
}

// Skips an annotation after a pair: a quoted text, or plain text up to the next ";" or ")".
void SkipAnnotation(std::string_view line, size_t& pos)
{
    SkipWhile(line, pos, IsWhite);
    if (pos >= line.size()) return;
    if (IsQuote(line[pos])) {
        const size_t close = line.find(line[pos], pos + 1);
        pos = close == std::string_view::npos ? line.size() : close + 1;
        return;
    }
    if (IsDigitChar(line[pos]) || line[pos] == '.' || line[pos] == '-' || line[pos] == '+' || IsPairSeparator(line[pos])) {
        return;
    }
    while (pos < line.size() && line[pos] != ';' && line[pos] != ')') ++pos;
}

}  // namespace

bool IsPeakLine(std::string_view line)
{
    size_t pos = 0;
    SkipWhile(line, pos, IsWhite);
    if (pos >= line.size()) return false;
    const char c = line[pos];
    return IsDigitChar(c) || c == '(' || c == '.' || c == '-' || c == '+';
}

const char* ReadPeakLine(std::string_view line, CMspPeakList& peaks)
{
    size_t pos = 0;
    for (;;) {
        SkipWhile(line, pos, IsPairSeparator);
        if (pos >= line.size()) return nullptr;
        if (IsQuote(line[pos])) {
            SkipAnnotation(line, pos);
            continue;
        }
        const size_t massStart = pos;
        double mass = 0;
        if (!ScanDouble(line, pos, mass)) return "text where a mass is expected";
        const int decimals = DecimalsIn(line, massStart, pos);
        SkipWhile(line, pos, IsInnerSeparator);
        double intensity = 0;
        if (!ScanDouble(line, pos, intensity)) return "a mass without intensity";
        if (!std::isfinite(mass) || mass <= 0 || mass > kMspLargestMass) return "a mass out of range";
        if (!std::isfinite(intensity) || intensity < 0) return "an intensity out of range";
        peaks.masses.push_back(mass);
        peaks.intensities.push_back(intensity);
        peaks.decimals = std::max(peaks.decimals, std::min(decimals, kMspMassDecimals));
        SkipAnnotation(line, pos);
    }
}

}  // namespace kiv
