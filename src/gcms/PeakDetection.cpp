#include "gcms/PeakDetection.h"

#include <algorithm>

#include "base/Reporter.h"

namespace kiv {

namespace {

constexpr double kTolerance = 1e-12;

// Absolute intensity I(i, m) = MSM(i, m) * Ibase(i); scans beyond the run count as 0.
class CAbsoluteIntensity {
public:
    explicit CAbsoluteIntensity(const CRunData& run) : run_(run) {}
    double operator()(int scan, int mass) const { return run_.msm.Get(scan, mass) * run_.ibase.Get(1, scan); }

private:
    const CRunData& run_;
};

// True when mass m rises strictly over the w differences before scan p and does not rise over
// the w differences after it.
bool PeaksAt(const CAbsoluteIntensity& intensity, int p, int m, int w)
{
    for (int j = p - w + 1; j <= p; ++j) {
        if (!(intensity(j, m) - intensity(j - 1, m) > kTolerance)) return false;
    }
    for (int j = p + 1; j <= p + w; ++j) {
        if (!(intensity(j, m) - intensity(j - 1, m) < kTolerance)) return false;
    }
    return true;
}

}  // namespace

CMatrixI DetectPeaks(const CRunData& run, const CParameters& parameters)
{
    CMatrixI peaks;
    const int n = run.msm.Rows();
    const int maxMass = run.msm.Cols();
    const int w = std::max(parameters.peakDetectionWidth, 0);
    const int needed = parameters.peakDetectionMasses;
    if (2 * static_cast<int64_t>(w) >= n) {
        ReportRunTimeError("MSM too small!");
        return peaks;
    }
    const double height = parameters.peakHeightThreshold * run.largestIbase;
    const CAbsoluteIntensity intensity(run);
    for (int s = 1; s <= n - 2 * w + 1; ++s) {
        const int p = s + w;
        int count = 0;
        for (int m = 1; m <= maxMass && count < needed; ++m) {
            if (intensity(p, m) >= height && PeaksAt(intensity, p, m, w)) ++count;
        }
        if (count >= needed) peaks.InsertSorted(p);
    }
    return peaks;
}

}  // namespace kiv
