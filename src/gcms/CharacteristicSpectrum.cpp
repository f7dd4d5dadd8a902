#include "gcms/CharacteristicSpectrum.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "gcms/Msm.h"
#include "gcms/PeakProfile.h"
#include "gcms/RetentionConversion.h"
#include "gcms/SpectrumFit.h"

namespace kiv {

namespace {

constexpr const char* kShape = "shape";
constexpr const char* kProfile = "profile";
constexpr const char* kProfileData = "profiledata";
constexpr const char* kItemType = "float64";

bool Contributes(const CRunData& run, int apex, int mass)
{
    if (run.msm.Get(apex, mass) < CFitSettings{}.leastIntensity) return false;
    auto intensity = [&](int scan) { return run.msm.Get(scan, mass) * run.ibase.Get(1, scan); };
    const double top = intensity(apex);
    return top >= intensity(apex - 1) && top >= intensity(apex + 1);
}

// Offsets beyond the run's length would only add zeros.
int ProfileWidth(const CParameters& p, const CRunData& run)
{
    return std::min(std::max({p.peakDetectionWidth, p.subtractionPeakWidth, 0}), run.msm.Rows());
}

}  // namespace

CSupData AnalyseScan(const CRunData& run, const CParameters& parameters, int apex)
{
    CSupData sup;
    const int w = ProfileWidth(parameters, run);
    std::vector<MassShape> shapes;
    for (int m = 1; m <= run.msm.Cols(); ++m) {
        if (!Contributes(run, apex, m)) continue;
        MassShape shape = ScaledMassShape(run, apex, m, w);
        if (!shape.values.empty()) shapes.push_back(std::move(shape));
    }
    if (shapes.empty()) return sup;
    const int k = static_cast<int>(shapes.size());
    CMatrix table(k, 2 * w + 2), peaks(4, k), profile = StartPeakProfile(w);
    for (int i = 1; i <= k; ++i) {
        const MassShape& shape = shapes[static_cast<size_t>(i - 1)];
        AddToPeakProfile(profile, shape);
        table.Set(i, 1, shape.mass);
        for (int c = 1; c <= 2 * w + 1; ++c) table.Set(i, c + 1, shape.values[static_cast<size_t>(c - 1)]);
        peaks.Set(1, i, shape.mass);
        peaks.Set(2, i, run.msm.Get(apex, shape.mass));
        peaks.Set(3, i, shape.left);
        peaks.Set(4, i, shape.right);
    }
    FinishPeakProfile(profile);
    sup.empty = 0;
    sup.items = {{kShape, kItemType, std::move(table)}, {kProfile, kItemType, std::move(profile)},
                 {kProfileData, kItemType, std::move(peaks)}};
    return sup;
}

std::string CheckCharacteristicItems(const CSupData& sup)
{
    const char* names[] = {kShape, kProfile, kProfileData};
    for (size_t i = 0; i < 3; ++i) {
        if (sup.items.size() <= i || sup.items[i].name != names[i]) return Format("sup[%zu] != %s", i, names[i]);
    }
    return "";
}

double ProfileValue(const CSupData& sup, int k, int offset)
{
    if (!CheckCharacteristicItems(sup).empty()) return 0;
    const CMatrix& shapes = sup.items[0].values;
    const CMatrix& profile = sup.items[1].values;
    const CMatrix& peaks = sup.items[2].values;
    const int w = (profile.Cols() - 1) / 2;
    if (std::abs(offset) > w) return 0;
    const bool own = offset < 0 ? -offset <= peaks.Get(3, k) : offset <= peaks.Get(4, k);
    if (own && shapes.Cols() == profile.Cols() + 1) return shapes.Get(k, offset + w + 2);
    return profile.Get(1, offset + w + 1);
}

CBibRecord CharacteristicRecord(const CBib& run, int scan, const CSupData& items)
{
    const CRunData& data = run.run;
    CBibRecord record;
    record.id = scan;
    record.name.empty = 0;
    record.name.name = Format("cMS %d", scan);
    record.name.origin = run.header.title;
    record.name.originNumber = scan;
    CMassSpectrum& s = record.spectrum;
    s.empty = 0;
    s.isVector = 1;
    s.ndec = 0;
    data.msm.GetRow(scan, s.vector);
    s.firstMass = 1;
    s.lastMass = static_cast<uint16_t>(std::min(s.vector.Cols(), 65535));
    s.count = s.lastMass;
    s.basePeakIntensity = static_cast<uint32_t>(std::max(data.ibase.Get(1, scan), 0.0));
    s.tic = RoundedTic(data.tic.Get(1, scan));
    const double index = data.retentionIndex.Get(1, scan);
    s.retentionIndex = index > 0 ? index : RetentionIndexFromTime(run.parameters, data.retentionTime.Get(1, scan));
    s.Normalise();
    record.sup = items;
    return record;
}

}  // namespace kiv
