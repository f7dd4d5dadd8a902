#include "library/BibRecord.h"

#include "base/Format.h"

namespace kiv {

void CBibName::Clear()
{
    empty = 1;
    cas = 0;
    nominalMW = 0;
    mw = 0;
    mass2 = 0;
    formula.clear();
    origin.clear();
    originNumber = 0;
    name.clear();
}

std::string CasText(int32_t cas) { return Format("%d-%02d-%d", cas / 1000, cas / 10 % 100, cas % 10); }

void CIrSpectrum::Clear()
{
    empty = 1;
    kind = 0;
    pointCount = 0;
    axis[0] = axis[1] = axis[2] = 0;
    pointWidth = 2;
    points.clear();
    parameter4 = 0;
    scale = 0;
    text1.clear();
    reserved = 0;
    text2.clear();
}

void CBibRecord::Clear()
{
    id = 0;
    name.Clear();
    molecule.Clear();
    spectrum.Clear();
    ir.Clear();
    sup.Clear();
}

void CBibHeader::Clear()
{
    title.clear();
    typ.clear();
    blockCount = 0;
    comment1.clear();
    comment2.clear();
    vector.Free();
}

}  // namespace kiv
