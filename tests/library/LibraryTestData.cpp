#include "LibraryTestData.h"

namespace kiv::test {

CMolecule Ethanol()
{
    CMolecule m;
    m.Allocate(3, 2);
    m.element = {6, 6, 8};
    m.hydrogenCode = {4, 3, 2};
    m.x = {0.0f, 1.5f, 2.25f};
    m.y = {0.0f, 0.5f, -0.75f};
    m.charge = {0, 0, -1};
    m.isotope = {13, 0, 0};
    m.bondFrom = {1, 2};
    m.bondTo = {2, 3};
    m.bondOrder = {1, 1};
    m.bondStereo = {0, 1};
    return m;
}

CMassSpectrum PeakSpectrum(int nbyte, int ndec, std::initializer_list<std::pair<double, double>> peaks)
{
    CMassSpectrum s;
    s.empty = 0;
    s.isVector = 0;
    s.nbyte = nbyte;
    s.ndec = ndec;
    s.count = static_cast<uint16_t>(peaks.size());
    s.peaks.Alloc(2, static_cast<int>(peaks.size()));
    int j = 1;
    double largest = -1;
    for (const auto& [mass, intensity] : peaks) {
        s.peaks.Set(1, j, mass);
        s.peaks.Set(2, j, intensity);
        if (intensity > largest) {
            largest = intensity;
            s.basePeakMass = mass;
        }
        ++j;
    }
    return s;
}

CMassSpectrum VectorSpectrum(int firstMass, int lastMass, std::initializer_list<std::pair<int, double>> values)
{
    CMassSpectrum s;
    s.empty = 0;
    s.isVector = 1;
    s.nbyte = 2;
    s.ndec = 0;
    s.firstMass = static_cast<uint16_t>(firstMass);
    s.lastMass = static_cast<uint16_t>(lastMass);
    s.count = static_cast<uint16_t>(lastMass - firstMass + 1);
    s.vector.Alloc(1, lastMass);
    for (const auto& [mass, intensity] : values) s.vector.Set(1, mass, intensity);
    return s;
}

CBibRecord FullRecord(int id)
{
    CBibRecord r;
    r.id = id;
    r.name.empty = 0;
    r.name.cas = 64175;
    r.name.nominalMW = 46;
    r.name.mw = 46.0684;
    r.name.mass2 = 1.25;
    r.name.formula = "C2H6O";
    r.name.origin = "Test library";
    r.name.originNumber = 7 + id;
    r.name.name = "ethanol " + std::to_string(id);
    r.molecule = Ethanol();
    r.spectrum = PeakSpectrum(4, 3, {{31.018, 100}, {45.034, 51.5}, {46.042, 22.25}});
    r.spectrum.basePeakMass = 31.018;
    r.spectrum.basePeakIntensity = 123456;
    r.spectrum.tic = 999999;
    r.spectrum.retentionIndex = 1234.5;
    r.spectrum.quality = 812;
    r.spectrum.comment = "measured twice";
    r.ir.empty = 0;
    r.ir.kind = 3;
    r.ir.pointCount = 3;
    r.ir.axis[0] = 4000;
    r.ir.axis[1] = 400;
    r.ir.axis[2] = -2;
    r.ir.pointWidth = 2;
    r.ir.points = {0, 65535, 1234};
    r.ir.parameter4 = 77;
    r.ir.scale = 2.5f;
    r.ir.text1 = "KBr";
    r.ir.reserved = 0;
    r.ir.text2 = "film";
    r.sup.empty = 0;
    CSupItem shape{"shape", "float32", CMatrix(2, 3)};
    for (int k = 1; k <= 6; ++k) shape.values.SetFlat(k, 0.5 * k);
    CSupItem counts{"counts", "uint32", CMatrix(1, 2)};
    counts.values.Set(1, 1, 4000000000.0);
    counts.values.Set(1, 2, 3);
    r.sup.items = {shape, counts};
    return r;
}

}  // namespace kiv::test
