#include "features/MassLists.h"

#include <algorithm>
#include <cstdint>

#include "base/Numbers.h"

namespace kiv {

namespace {

// One token of either notation and the separator that ends it (0 for the last token).
struct Token {
    int64_t value = 0;
    char separator = 0;  // ',' for "," and " ", '-' or '/'
    size_t next = 0;  // where the following token starts
};

Token NextToken(std::string_view text, size_t pos, bool withSlash)
{
    size_t end = std::min(text.find_first_of(", ", pos), text.find('-', pos));
    if (withSlash) end = std::min(end, text.find('/', pos));
    Token token;
    if (end == std::string_view::npos) {
        token.value = ParseInt(text.substr(pos));
        token.next = text.size();
        return token;
    }
    token.value = ParseInt(text.substr(pos, end - pos));
    token.separator = text[end] == ' ' ? ',' : text[end];
    token.next = end + 1;
    return token;
}

// The masses strictly between a range's ends that the notation fills in, bounded by the
// highest mass a spectrum can hold.
int64_t RangeFillEnd(int64_t upper) { return std::min<int64_t>(upper - 1, kHighestMass); }

}  // namespace

std::vector<int> ParseMassList(std::string_view text)
{
    std::vector<int> masses;
    auto append = [&](int64_t mass) {
        if (masses.size() >= kMaxMassListEntries) return false;
        masses.push_back(static_cast<int>(mass));
        return true;
    };
    char before = 0;
    int64_t previous = 0;
    size_t pos = 0;
    for (;;) {
        Token token = NextToken(text, pos, false);
        if (before == '-') {
            for (int64_t m = std::max<int64_t>(previous, 1); m <= RangeFillEnd(token.value); ++m) {
                if (!append(m)) break;
            }
        } else if (before == ',' && previous > 0) {
            append(previous);
        }
        previous = token.value;
        if (token.separator == 0 || token.next >= text.size()) break;
        before = token.separator;
        pos = token.next;
    }
    if (previous > 0) append(previous);
    return masses;
}

MassRanges ParseMassRanges(std::string_view text)
{
    MassRanges ranges;
    auto append = [&](int64_t lower, int64_t upper) {
        if (ranges.lower.size() >= kMaxMassListEntries) return false;
        ranges.lower.push_back(static_cast<int>(lower));
        ranges.upper.push_back(static_cast<int>(upper));
        return true;
    };
    char before = 0;
    int64_t previous = 0;
    bool previousWasUpper = false;  // the previous value closed a "/" range
    size_t pos = 0;
    for (;;) {
        Token token = NextToken(text, pos, true);
        if (before == '-') {
            for (int64_t m = std::max<int64_t>(previous, 1); m <= RangeFillEnd(token.value); ++m) {
                if (!append(m, m)) break;
            }
        } else if (before == ',') {
            if (previous > 0 && !previousWasUpper) append(previous, previous);
        } else if (before == '/') {
            append(std::max<int64_t>(previous, 1), token.value);
        }
        previousWasUpper = before == '/';
        previous = token.value;
        if (token.separator == 0 || token.next >= text.size()) break;
        before = token.separator;
        pos = token.next;
    }
    if (previous > 0 && !previousWasUpper) append(previous, previous);
    return ranges;
}

}  // namespace kiv
