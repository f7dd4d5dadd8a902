#include "import/JcampStructure.h"

#include <algorithm>

#include "base/BinaryIO.h"
#include "base/Numbers.h"
#include "chem/ElementTable.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// Code 1..105 of a two-character symbol exactly as the table writes it ("C ", "Cl"), else 255.
uint8_t TableCode(char first, char second)
{
    for (int code = 1; code <= kElementCount; ++code) {
        const std::string_view symbol = ElementSymbol(code);
        if (symbol.size() == 2 && symbol[0] == first && symbol[1] == second) return static_cast<uint8_t>(code);
    }
    return kElementCodeUnknown;
}

struct Bond {
    int from, to, order;
};

}  // namespace

int JcampBondOrder(std::string_view codeText)
{
    codeText = TrimBlanks(WithoutLineEnd(codeText));
    const std::string_view lastTwo = codeText.size() > 2 ? codeText.substr(codeText.size() - 2) : codeText;
    const int code = ParseInt(lastTwo);
    switch (code) {
    case 2: return 2;
    case 3: return 3;
    case 4: return 8;
    case 5: return 4;
    default: break;
    }
    if (code >= 1 && code <= 12) return 1;
    switch (codeText.empty() ? ' ' : codeText.back()) {
    case 'D': return 2;
    case 'T': return 3;
    case 'A': return 4;
    default: return 1;
    }
}

void BuildJcampMolecule(const std::vector<std::string>& atomLines, const std::vector<std::string>& bondLines,
                        const std::vector<std::string>& rasterLines, CMolecule& molecule)
{
    const int atoms = static_cast<int>(std::min<size_t>(atomLines.size(), 65535));
    std::vector<Bond> bonds;
    for (const std::string& raw : bondLines) {
        const std::string_view line = WithoutLineEnd(raw);
        size_t pos = 0;
        int32_t from = 0, to = 0;
        ScanInt32(line, pos, from);
        SkipSeparators(line, pos);
        ScanInt32(line, pos, to);
        if (from < 1 || from > atoms || to < 1 || to > atoms) continue;  // names a missing atom
        bonds.push_back({from, to, JcampBondOrder(line)});
        if (bonds.size() == 65535) break;
    }
    molecule.Allocate(atoms, static_cast<int>(bonds.size()));
    if (molecule.empty) return;
    for (int i = 0; i < atoms; ++i) {
        const std::string_view line = WithoutLineEnd(atomLines[static_cast<size_t>(i)]);
        size_t pos = 0;
        int32_t number = 0;
        ScanInt32(line, pos, number);
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        const char first = pos < line.size() ? line[pos] : ' ';
        const char second = pos + 1 < line.size() ? line[pos + 1] : ' ';
        molecule.element[static_cast<size_t>(i)] = TableCode(first, second);
        const int hydrogens = ParseInt(Columns(line, pos + 2));
        molecule.hydrogenCode[static_cast<size_t>(i)] = TruncToUInt8(static_cast<double>(std::max(hydrogens, -1)) + 1);
    }
    for (const std::string& raw : rasterLines) {
        const std::string_view line = WithoutLineEnd(raw);
        size_t pos = 0;
        int32_t number = 0;
        double x = 0, y = 0;
        if (!ScanInt32(line, pos, number) || number < 1 || number > atoms) continue;
        SkipSeparators(line, pos);
        ScanDouble(line, pos, x);
        SkipSeparators(line, pos);
        ScanDouble(line, pos, y);
        molecule.x[static_cast<size_t>(number - 1)] = ToFloat(x);
        molecule.y[static_cast<size_t>(number - 1)] = ToFloat(y);
    }
    for (size_t k = 0; k < bonds.size(); ++k) {
        molecule.bondFrom[k] = static_cast<uint16_t>(bonds[k].from);
        molecule.bondTo[k] = static_cast<uint16_t>(bonds[k].to);
        molecule.bondOrder[k] = static_cast<uint8_t>(bonds[k].order);
    }
}

}  // namespace kiv
