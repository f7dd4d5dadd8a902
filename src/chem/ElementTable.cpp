#include "chem/ElementTable.h"

#include <array>

namespace kiv {

namespace {

// Index 0 is unused so that the atomic number addresses the table directly.
constexpr std::array<std::string_view, kElementCount + 1> kSymbols = {
    "",   "H ", "He", "Li", "Be", "B ", "C ", "N ", "O ", "F ", "Ne", "Na", "Mg", "Al", "Si",
    "P ", "S ", "Cl", "Ar", "K ", "Ca", "Sc", "Ti", "V ", "Cr", "Mn", "Fe", "Co", "Ni", "Cu",
    "Zn", "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y ", "Zr", "Nb", "Mo", "Tc", "Ru",
    "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I ", "Xe", "Cs", "Ba", "La", "Ce", "Pr",
    "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W ",
    "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac",
    "Th", "Pa", "U ", "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf",
    "Ha"};

// Nominal masses by atomic number up to uranium; Fr, Ra, Ac and Pa have none.
constexpr std::array<int, 93> kNominalMasses = {
    0,   1,   4,   7,   9,   11,  12,  14,  16,  19,  20,  23,  24,  27,  28,  31,  32,  35,  40,
    39,  40,  45,  48,  51,  52,  55,  56,  59,  58,  63,  64,  69,  74,  75,  80,  79,  84,  85,
    88,  89,  90,  93,  98,  98,  102, 103, 106, 107, 114, 115, 120, 121, 130, 127, 129, 133, 138,
    139, 140, 141, 142, 145, 152, 151, 158, 159, 164, 165, 166, 169, 174, 175, 180, 181, 184, 187,
    192, 193, 194, 197, 202, 205, 208, 209, 209, 210, 222, 0,   0,   0,   232, 0,   238};

}  // namespace

std::string_view ElementSymbol(int code)
{
    return code >= 1 && code <= kElementCount ? kSymbols[code] : std::string_view();
}

std::string_view ElementSymbolTrimmed(int code)
{
    switch (code) {
    case kElementCodeX: return "X";
    case kElementCodeQ: return "Q";
    case kElementCodeA: return "A";
    default: break;
    }
    std::string_view symbol = ElementSymbol(code);
    if (!symbol.empty() && symbol.back() == ' ') symbol.remove_suffix(1);
    return symbol;
}

int ElementNominalMass(int code)
{
    return code >= 1 && code < static_cast<int>(kNominalMasses.size()) ? kNominalMasses[code] : 0;
}

uint8_t ElementCode(std::string_view symbol)
{
    while (!symbol.empty() && symbol.front() == ' ') symbol.remove_prefix(1);
    while (!symbol.empty() && symbol.back() == ' ') symbol.remove_suffix(1);
    if (symbol.empty() || symbol.size() > 2) return kElementCodeUnknown;
    for (int code = 1; code <= kElementCount; ++code) {
        if (ElementSymbolTrimmed(code) == symbol) return static_cast<uint8_t>(code);
    }
    if (symbol == "X") return kElementCodeX;
    if (symbol == "Q") return kElementCodeQ;
    if (symbol == "A") return kElementCodeA;
    return kElementCodeUnknown;
}

}  // namespace kiv
