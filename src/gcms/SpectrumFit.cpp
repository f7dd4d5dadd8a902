#include "gcms/SpectrumFit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kiv {

namespace {

struct FitMass {
    double ratio;  // scan / reference
    double reference;
};

constexpr double kUnusedMass = -100.0;

// The ratio at which the reference fits: the smallest one after skipping, from the smallest
// upwards, those of small reference peaks while their summed reference intensity stays within
// the skippable share of the scan's intensity. 0 with fewer than the least number of masses.
double FittingRatio(std::vector<FitMass>& masses, double scanSum, const CFitSettings& settings)
{
    const int n = static_cast<int>(masses.size());
    if (n < settings.leastMasses) return 0;
    std::stable_sort(masses.begin(), masses.end(), [](const FitMass& a, const FitMass& b) { return a.ratio < b.ratio; });
    int g = 0;
    double skipped = 0;
    while (g < n && g < n - settings.leastMasses && scanSum > 0) {
        const double r = masses[static_cast<size_t>(g)].reference;
        if (r > settings.largestSkippable || (skipped + r) / scanSum * 100.0 > settings.skippableShare) break;
        skipped += r;
        ++g;
    }
    return masses[static_cast<size_t>(g)].ratio;
}

double RowSum(const CMatrix& m, int row)
{
    double sum = 0;
    if (row >= 1 && row <= m.Rows()) {
        for (double v : m.Row(row)) sum += v;
    }
    return sum;
}

FitMeasures Measures(const CRunData& run, int scan, double fit, double referenceSum)
{
    FitMeasures result;
    result.fit = fit;
    if (run.largestTic > 0) result.fitTic = run.tic.Get(1, scan) * fit / run.largestTic;
    const double scanSum = RowSum(run.msm, scan);
    if (scanSum > 0) result.pure = fit * referenceSum / scanSum;
    return result;
}

}  // namespace

bool PeakListMass(double value, int& mass)
{
    if (!(value > kUnusedMass && value < INT32_MAX)) return false;
    mass = static_cast<int>(value);
    return true;
}

FitMeasures FitSpectrum(const CRunData& run, int scan, const CMatrix& reference, const CFitSettings& settings)
{
    std::vector<FitMass> masses;
    double scanSum = 0, referenceSum = 0;
    for (int j = 1; j <= reference.Cols(); ++j) {
        const double r = reference.Get(1, j);
        referenceSum += r;
        if (r < settings.leastIntensity) continue;
        const double x = run.msm.Get(scan, j);
        masses.push_back({x / r, r});
        scanSum += x;
    }
    return Measures(run, scan, 100.0 * FittingRatio(masses, scanSum, settings), referenceSum);
}

FitMeasures FitProfile(const CRunData& run, int scan, const CMatrix& peaks, const CFitSettings& settings)
{
    std::vector<FitMass> masses;
    double scanSum = 0, referenceSum = 0, largest = 0;
    for (int k = 1; k <= peaks.Cols(); ++k) {
        int mass = 0;
        if (!PeakListMass(peaks.Get(1, k), mass)) continue;
        const double r = peaks.Get(2, k);
        referenceSum += r;
        if (r < settings.leastIntensity) continue;
        const double x = run.msm.Get(scan, mass);
        masses.push_back({x / r, r});
        scanSum += x;
        largest = std::max(largest, r);
    }
    return Measures(run, scan, FittingRatio(masses, scanSum, settings) * largest, referenceSum);
}

}  // namespace kiv
