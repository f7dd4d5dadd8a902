#pragma once
// Text encoding of MSP libraries. The library keeps names, formulas and comments as 8-bit
// strings in Latin-1, while MSP files come in Latin-1 (older exports) or UTF-8 (most of today's
// tools). The mapping on reading, field by field:
//   - a field that is not valid UTF-8 is taken as Latin-1, byte for byte;
//   - in valid UTF-8, U+0000..U+00FF become the Latin-1 byte of the same number; Greek letters
//     are spelled out ("alpha", "Beta"), as chemical names write them in plain text; dashes and
//     the minus sign become "-", single quotes and primes "'", double quotes and double primes
//     "\""; every other character becomes "?".
// On writing every field goes out as UTF-8, so that Latin-1 names survive a round trip exactly.
#include <string>
#include <string_view>

namespace kiv {

// A field of an MSP file as the library's 8-bit string.
std::string MspTextToLatin1(std::string_view text);

// A library string as UTF-8 for an MSP file.
std::string Latin1ToUtf8(std::string_view text);

// True when text starts with the UTF-8 byte-order mark.
bool StartsWithByteOrderMark(std::string_view text);

}  // namespace kiv
