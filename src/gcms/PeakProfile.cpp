#include "gcms/PeakProfile.h"

#include <algorithm>
#include <cmath>

#include "base/Reporter.h"

namespace kiv {

namespace {

constexpr int kProfileRows = 5;
constexpr double kNoMinimum = 1e20;
constexpr double kTolerance = 1e-12;

// Walks outwards from the apex neighbour on one side (step -1 or +1) and keeps each value while it
// does not exceed the one kept before it. Returns the number of offsets kept on that side.
int CutSide(std::vector<double>& values, int w, int step)
{
    if (w < 1) return 0;
    int kept = 1;
    double previous = values[static_cast<size_t>(w + step)];
    bool cut = false;
    for (int o = 2; o <= w; ++o) {
        double& v = values[static_cast<size_t>(w + step * o)];
        if (!cut && v > previous) cut = true;
        if (cut) {
            v = 0;
        } else {
            previous = v;
            ++kept;
        }
    }
    return kept;
}

}  // namespace

MassShape ScaledMassShape(const CRunData& run, int apex, int mass, int w)
{
    MassShape shape;
    shape.mass = mass;
    auto intensity = [&](int scan) { return run.msm.Get(scan, mass) * run.ibase.Get(1, scan); };
    const double top = intensity(apex);
    if (!(top > 0) || w < 0) return shape;
    shape.values.resize(static_cast<size_t>(2 * w + 1));
    for (int o = -w; o <= w; ++o) shape.values[static_cast<size_t>(o + w)] = intensity(apex + o) * 100.0 / top;
    shape.left = CutSide(shape.values, w, -1);
    shape.right = CutSide(shape.values, w, +1);
    return shape;
}

CMatrix StartPeakProfile(int w)
{
    CMatrix profile(kProfileRows, 2 * std::max(w, 0) + 1);
    for (int c = 1; c <= profile.Cols(); ++c) profile.Set(3, c, kNoMinimum);
    return profile;
}

bool AddToPeakProfile(CMatrix& profile, const MassShape& shape)
{
    if (profile.Rows() != kProfileRows || static_cast<size_t>(profile.Cols()) != shape.values.size()) {
        ReportRunTimeError("PP not initilized!");
        return false;
    }
    for (int c = 1; c <= profile.Cols(); ++c) {
        const double x = shape.values[static_cast<size_t>(c - 1)];
        profile.Set(1, c, profile.Get(1, c) + x);
        profile.Set(2, c, profile.Get(2, c) + 1);
        profile.Set(3, c, std::min(profile.Get(3, c), x));
        profile.Set(4, c, std::max(profile.Get(4, c), x));
        profile.Set(5, c, profile.Get(5, c) + x * x);
    }
    return true;
}

void FinishPeakProfile(CMatrix& profile)
{
    for (int c = 1; c <= profile.Cols(); ++c) {
        const double n = profile.Get(2, c);
        if (n > kTolerance) {
            const double sum = profile.Get(1, c), squares = profile.Get(5, c);
            const double variance = n > 1 ? (squares - sum * sum / n) / (n - 1) : 0.0;
            profile.Set(5, c, std::sqrt(std::max(variance, 0.0)));
            profile.Set(1, c, sum / n);
        } else {
            profile.Set(3, c, 0.0);
        }
    }
}

}  // namespace kiv
