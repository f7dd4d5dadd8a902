#pragma once
// The two mass notations of feature definition lines: mass lists such as "64-66,90" (the
// masses of a group, the lags of an autocorrelation) and mass ranges such as "40/50,60/70"
// (the windows of the mean-intensity features).
//
// Bounds. A nominal mass addresses a spectrum column, and no spectrum holds more than
// kHighestMass columns, so a range written with "-" is expanded only up to kHighestMass
// ("1-2000000000" gives 1..65535 and then 2000000000 itself, which reads as intensity 0).
// A list never holds more than kMaxMassListEntries entries (every mass twice); later entries
// are dropped. Both limits keep a damaged definition line from asking for unbounded memory; no
// real definition comes near them.
#include <cstddef>
#include <string_view>
#include <vector>

namespace kiv {

inline constexpr int kHighestMass = 65535;
inline constexpr size_t kMaxMassListEntries = 2 * 65536;

// Integers separated by "," or " " (single separators) or "-" (a range). Neither sorted nor
// made unique: "64-66,90" -> 64 65 66 90, "-5" -> 1..5, "66-64" -> 64, "0" -> nothing.
std::vector<int> ParseMassList(std::string_view text);

// Parallel lists of lower and upper masses. As the mass list, with "/" joining a lower and an
// upper mass into one range: "40/50,60/70" -> 40-50 and 60-70, "64-66,90" -> 64-64 .. 90-90.
struct MassRanges {
    std::vector<int> lower;
    std::vector<int> upper;
};
MassRanges ParseMassRanges(std::string_view text);

}  // namespace kiv
