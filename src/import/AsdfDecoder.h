#pragma once
// The compressed ordinate forms of JCAMP-DX continuous spectra ("(X++(Y..Y))" tables): each
// line holds an abscissa in plain form followed by ordinates written in ASDF, a mix of
//   AFFN / PAC  plain numbers, separated by blanks or by their own sign ("12+5-3");
//   SQZ         the first digit and the sign packed into one letter ("@" 0, "A".."I" 1..9,
//               "a".."i" -1..-9);
//   DIF         the difference to the ordinate before ("%" 0, "J".."R" 1..9, "j".."r" -1..-9);
//   DUP         a repeat count of the value or difference before ("S".."Z" 1..8, "s" 9);
//   "?"         a missing ordinate (read as 0).
// A line that ends with a difference is followed by a line whose first ordinate repeats the
// last one as a check.
#include <cstddef>
#include <string_view>
#include <vector>

namespace kiv {

// An ordinate other than 0 and its place on the line (1 for the first ordinate).
struct CAsdfPoint {
    size_t place;
    double value;
};

// A decoded line in the form a mass spectrum's profile wants it: most ordinates are 0, so only
// the others are listed; the zeros are only counted.
struct CAsdfLine {
    size_t valueCount = 0;  // the abscissa and all ordinates, zeros included; 0 for a blank line
    double abscissa = 0;
    double firstOrdinate = 0;  // when valueCount > 1
    double lastOrdinate = 0;  // when valueCount > 1
    std::vector<CAsdfPoint> points;  // the ordinates other than 0 are points[0 .. pointCount)
    size_t pointCount = 0;
    bool endsWithDifference = false;  // the next line starts with a check ordinate
};

// Decodes one line up to a "$$" comment. False when the line holds a character that belongs to
// no form or a repeat count without a value before it.
bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded);

}  // namespace kiv
