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
#include <string_view>
#include <vector>

namespace kiv {

struct CAsdfLine {
    std::vector<double> values;  // the abscissa first, then the ordinates
    bool endsWithDifference = false;  // the next line starts with a check ordinate
};

// Decodes one line (without "$$" comment). False when the line holds a character that belongs
// to no form or a repeat count without a value before it.
bool DecodeAsdfLine(std::string_view line, CAsdfLine& decoded);

}  // namespace kiv
