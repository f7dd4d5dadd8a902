#include "chem/Molecule.h"

#include <algorithm>
#include <array>

#include "base/Format.h"
#include "chem/ElementTable.h"

namespace kiv {

void CMolecule::Allocate(int atoms, int bonds)
{
    if (atoms < 1) {
        Clear();
        return;
    }
    atomCount = static_cast<uint16_t>(std::min(atoms, 65535));
    bondCount = static_cast<uint16_t>(std::clamp(bonds, 0, 65535));
    const size_t a = atomCount;
    const size_t b = bondCount;
    element.assign(a, 0);
    isotope.assign(a, 0);
    charge.assign(a, 0);
    radical.assign(a, 0);
    hydrogenCode.assign(a, 0);
    atomSpare.assign(a, 0);
    x.assign(a, 0.0f);
    y.assign(a, 0.0f);
    z.assign(a, 0.0f);
    bondFrom.assign(b, 0);
    bondTo.assign(b, 0);
    bondOrder.assign(b, 0);
    bondStereo.assign(b, 0);
    empty = 0;
}

void CMolecule::Clear()
{
    empty = 1;
    atomCount = 0;
    bondCount = 0;
    element.clear();
    isotope.clear();
    charge.clear();
    radical.clear();
    hydrogenCode.clear();
    atomSpare.clear();
    x.clear();
    y.clear();
    z.clear();
    bondFrom.clear();
    bondTo.clear();
    bondOrder.clear();
    bondStereo.clear();
}

std::string CMolecule::Formula() const
{
    constexpr int kCarbon = 6;
    constexpr int kHydrogen = 1;
    std::array<long, 256> counts{};
    const size_t atoms = std::min<size_t>(atomCount, element.size());
    for (size_t i = 0; i < atoms; ++i) {
        ++counts[element[i]];
        if (i < hydrogenCode.size() && hydrogenCode[i] > 1) counts[kHydrogen] += hydrogenCode[i] - 1;
    }
    std::string formula;
    if (counts[kCarbon] > 0) formula += Format("C%ld", counts[kCarbon]);
    if (counts[kHydrogen] > 0) formula += Format("H%ld", counts[kHydrogen]);
    counts[kCarbon] = 0;
    counts[kHydrogen] = 0;
    for (int code = 1; code < 255; ++code) {
        if (counts[code] == 0) continue;
        std::string_view symbol = ElementSymbolTrimmed(code);
        if (symbol.empty()) continue;
        formula += symbol;
        formula += Format("%ld", counts[code]);
    }
    return formula;
}

}  // namespace kiv
