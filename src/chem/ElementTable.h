#pragma once
// The periodic table as the structure records use it: element codes 1 to 105 are atomic
// numbers; the query atoms of connection tables get the codes 201 ("X", any halogen),
// 202 ("Q", any heteroatom) and 203 ("A", any atom); every other symbol is 255.
#include <cstdint>
#include <string_view>

namespace kiv {

constexpr int kElementCount = 105;
constexpr uint8_t kElementCodeX = 201;
constexpr uint8_t kElementCodeQ = 202;
constexpr uint8_t kElementCodeA = 203;
constexpr uint8_t kElementCodeUnknown = 255;

// Two-character symbol of codes 1 to 105, one-letter symbols padded with a blank ("C ", "Cl");
// an empty view for every other code.
std::string_view ElementSymbol(int code);
// The symbol without padding ("C", "Cl"); "X", "Q", "A" for the query atoms; empty otherwise.
std::string_view ElementSymbolTrimmed(int code);
// Nominal mass of the most common isotope, used for isotope labels; 0 where none is defined
// (Fr, Ra, Ac, Pa and every element after U) and for codes outside the table.
int ElementNominalMass(int code);
// Code of a symbol written in a connection table ("C", "Cl", "X", ...); blanks around it are
// ignored, letter case must match. Unknown symbols give 255.
uint8_t ElementCode(std::string_view symbol);

}  // namespace kiv
