#include "import/MolfileReader.h"

#include <algorithm>
#include <array>

#include "base/BinaryIO.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Reporter.h"
#include "chem/ElementTable.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// Element codes by their two-character symbol, padded with a blank ("C ", "Cl"); the query atoms
// X, Q and A get their codes, every other symbol 255. One lookup per atom instead of a search of
// the table: SD files of whole libraries have millions of atoms.
const std::array<uint8_t, 65536>& SymbolCodes()
{
    static const std::array<uint8_t, 65536> table = [] {
        std::array<uint8_t, 65536> codes;
        codes.fill(kElementCodeUnknown);
        auto key = [](char a, char b) { return static_cast<size_t>(static_cast<unsigned char>(a)) << 8 | static_cast<unsigned char>(b); };
        for (int code = 1; code <= kElementCount; ++code) {
            const std::string_view symbol = ElementSymbol(code);
            if (symbol.size() == 2) codes[key(symbol[0], symbol[1])] = static_cast<uint8_t>(code);
        }
        codes[key('X', ' ')] = kElementCodeX;
        codes[key('Q', ' ')] = kElementCodeQ;
        codes[key('A', ' ')] = kElementCodeA;
        return codes;
    }();
    return table;
}

uint8_t SymbolCode(std::string_view symbolField)
{
    const std::string_view symbol = TrimBlanks(symbolField);
    const char first = symbol.empty() ? ' ' : symbol[0];
    const char second = symbol.size() >= 2 ? symbol[1] : ' ';
    return SymbolCodes()[static_cast<size_t>(static_cast<unsigned char>(first)) << 8 | static_cast<unsigned char>(second)];
}

bool StartsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

bool EndsRecord(std::string_view line) { return StartsWith(line, "M  END") || StartsWith(line, "$$$$"); }

// Fixed three-character integer field.
int32_t Field3(std::string_view line, size_t column) { return ParseInt(Columns(line, column, 3)); }

uint8_t IsotopeOf(int element, int32_t difference)
{
    if (difference == 0) return 0;
    const int64_t mass = element <= kElementCount ? int64_t(difference) + ElementNominalMass(element) : difference;
    return static_cast<uint8_t>(std::clamp<int64_t>(mass, 0, 255));
}

int8_t ChargeOf(int32_t value) { return static_cast<int8_t>(std::clamp<int32_t>(value, -128, 127)); }

// Applies one "M  ISO", "M  CHG" or "M  RAD" line: a count, then pairs of atom number and value.
void ApplyProperty(std::string_view line, CMolecule& molecule)
{
    const bool iso = StartsWith(line, "M  ISO");
    const bool chg = StartsWith(line, "M  CHG");
    const bool rad = StartsWith(line, "M  RAD");
    if (!iso && !chg && !rad) return;
    const int32_t entries = Field3(line, 6);
    for (int32_t k = 0; k < entries; ++k) {
        const size_t column = 10 + 8 * static_cast<size_t>(k);
        if (column >= line.size()) break;
        const int32_t atom = Field3(line, column);
        const int32_t value = Field3(line, column + 4);
        if (atom < 1 || atom > molecule.atomCount) continue;
        const size_t i = static_cast<size_t>(atom - 1);
        if (iso) molecule.isotope[i] = static_cast<uint8_t>(std::clamp<int64_t>(int64_t(value) + ElementNominalMass(molecule.element[i]), 0, 255));
        if (chg) molecule.charge[i] = ChargeOf(value);
        if (rad) molecule.radical[i] = static_cast<uint8_t>(std::clamp<int32_t>(value, 0, 255));
    }
}

void ReadAtomLine(std::string_view line, size_t i, CMolecule& molecule)
{
    molecule.x[i] = ToFloat(ParseReal(Columns(line, 0, 10)));
    molecule.y[i] = ToFloat(ParseReal(Columns(line, 10, 10)));
    molecule.z[i] = ToFloat(ParseReal(Columns(line, 20, 10)));
    const uint8_t element = SymbolCode(Columns(line, 31));
    molecule.element[i] = element;
    molecule.isotope[i] = IsotopeOf(element, ParseInt(Columns(line, 34, 2)));
    // Charge codes of the atom block: 1, 2, 3 are +3, +2, +1; 5, 6, 7 are -1, -2, -3.
    const int32_t code = Field3(line, 36);
    molecule.charge[i] = ChargeOf(code < 1 ? code : 4 - code);
    molecule.hydrogenCode[i] = static_cast<uint8_t>(std::clamp<int32_t>(Field3(line, 42), 0, 255));
}

// Moves the stream past the rest of a damaged record (up to and including its "$$$$").
void SkipRecord(CLineReader& stream)
{
    std::string_view line;
    while (stream.ReadLine(line, kMolfileLineLimit)) {
        if (StartsWith(line, "$$$$")) return;
    }
}

MolfileStatus Damaged(CLineReader& stream, std::string_view lastLine, bool atEnd, const std::string& name, const char* block,
                      CMolecule& molecule)
{
    ReportRunTimeError(Format("Molfile %s: the %s block is shorter than its counts line", name.c_str(), block));
    molecule.Clear();
    if (!atEnd && !StartsWith(lastLine, "$$$$")) SkipRecord(stream);
    return MolfileStatus::Damaged;
}

}  // namespace

MolfileStatus ReadMolfile(CLineReader& stream, CMolecule& molecule)
{
    molecule.Clear();
    std::string_view line;
    // The record's first line: data items of the previous record and a lone "$$$$" are skipped.
    for (;;) {
        if (!stream.ReadLine(line, kMolfileLineLimit)) return MolfileStatus::End;
        if (StartsWith(line, "$$$$")) continue;
        if (!StartsWith(line, ">")) break;
        SkipRecord(stream);
    }
    const std::string name(TrimBlanks(WithoutLineEnd(line)));
    // Program and comment lines, then the counts line.
    if (!stream.ReadLine(line, kMolfileLineLimit) || !stream.ReadLine(line, kMolfileLineLimit) ||
        !stream.ReadLine(line, kMolfileLineLimit)) {
        return MolfileStatus::End;
    }
    const int32_t atoms = std::max(0, ParseInt(Columns(line, 0, 3)));
    const int32_t bonds = atoms > 0 ? std::max(0, Field3(line, 3)) : 0;
    molecule.Allocate(atoms, bonds);
    for (int32_t i = 0; i < atoms; ++i) {
        const bool got = stream.ReadLine(line, kMolfileLineLimit);
        if (!got || EndsRecord(line)) return Damaged(stream, line, !got, name, "atom", molecule);
        ReadAtomLine(WithoutLineEnd(line), static_cast<size_t>(i), molecule);
    }
    bool droppedBond = false;
    int kept = 0;
    for (int32_t k = 0; k < bonds; ++k) {
        const bool got = stream.ReadLine(line, kMolfileLineLimit);
        if (!got || EndsRecord(line)) return Damaged(stream, line, !got, name, "bond", molecule);
        const int32_t from = Field3(line, 0);
        const int32_t to = Field3(line, 3);
        if (from < 1 || from > atoms || to < 1 || to > atoms) {
            droppedBond = true;  // never let a bond point outside the atoms
            continue;
        }
        const size_t b = static_cast<size_t>(kept++);
        molecule.bondFrom[b] = static_cast<uint16_t>(from);
        molecule.bondTo[b] = static_cast<uint16_t>(to);
        molecule.bondOrder[b] = static_cast<uint8_t>(std::clamp<int32_t>(Field3(line, 6), 0, 255));
    }
    if (droppedBond) {
        ReportRunTimeError(Format("Molfile %s: bonds to atoms outside the atom block dropped", name.c_str()));
        molecule.bondCount = static_cast<uint16_t>(kept);
        molecule.bondFrom.resize(static_cast<size_t>(kept));
        molecule.bondTo.resize(static_cast<size_t>(kept));
        molecule.bondOrder.resize(static_cast<size_t>(kept));
        molecule.bondStereo.resize(static_cast<size_t>(kept));
    }
    while (stream.ReadLine(line, kMolfileLineLimit) && !EndsRecord(line)) ApplyProperty(WithoutLineEnd(line), molecule);
    return MolfileStatus::Read;
}

}  // namespace kiv
