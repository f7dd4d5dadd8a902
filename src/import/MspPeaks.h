#pragma once
// The peak lines of MSP records in the forms found in the field:
//   "41 999; 42 120; 43 55"      several pairs a line, ";" between pairs (NIST)
//   "41.0386 100 \"C3H5+\""      one pair a line with a quoted annotation (MoNA, MassBank)
//   "41\t100"  "41:100 42:50"  "41,100"   blank, tab, colon or comma inside a pair
//   "(41 100) (42 50)"           pairs in parentheses
// Numbers are paired in order; text after a pair (quoted, or unquoted up to the next ";" or ")")
// is an annotation and skipped.
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Heaviest mass taken; anything beyond is no electron-ionisation fragment but damage.
constexpr double kMspLargestMass = 1e6;
// Decimals of the masses the library keeps; more are rounded away.
constexpr int kMspMassDecimals = 6;

struct CMspPeakList {
    std::vector<double> masses;
    std::vector<double> intensities;
    int decimals = 0;  // most decimals written in a mass, at most kMspMassDecimals

    void Clear()
    {
        masses.clear();
        intensities.clear();
        decimals = 0;
    }
    size_t Size() const { return masses.size(); }
};

// True when the line (blanks at its start removed) is a peak line rather than a field.
bool IsPeakLine(std::string_view line);

// Appends the pairs of one line to peaks. Returns nullptr, or what is wrong with the line (then
// the pairs read before the fault stay appended).
const char* ReadPeakLine(std::string_view line, CMspPeakList& peaks);

}  // namespace kiv
