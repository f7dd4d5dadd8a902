#pragma once
// Numbers in text, read with the C rules the file formats were made with: integers as base-10
// numbers after leading white space (text that is not a number gives 0, out-of-range values are
// clamped to the 32-bit range), reals in decimal notation only (no hex, inf or nan), always with
// "." as the decimal point whatever the locale.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kiv {

int32_t ParseInt(std::string_view text);
double ParseReal(std::string_view text);

// Reads a decimal real that starts exactly at text[0] (optional sign, digits, optional point
// and digits, optional exponent). Returns the number of characters consumed, 0 when no number
// starts there (then value is left untouched).
size_t ScanReal(std::string_view text, double& value);

}  // namespace kiv
