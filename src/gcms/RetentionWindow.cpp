#include "gcms/RetentionWindow.h"

#include <algorithm>
#include <cmath>

#include "gcms/RetentionConversion.h"

namespace kiv {

namespace {

constexpr double kLowestIndex = 1.0;
constexpr double kHighestIndex = 9998.0;

}  // namespace

ScanRange ScanWindow(const CRunData& run, const CParameters& p, double ri)
{
    const int n = run.retentionTime.Cols();
    ScanRange whole{1, n, false};
    if (p.retUse == 0 || ri < kLowestIndex || ri > kHighestIndex) return whole;
    const double first = run.retentionTime.Get(1, 1), last = run.retentionTime.Get(1, n);
    whole.illegal = true;
    // A run whose times do not rise has no time scale to map onto.
    if (!(last > first)) return whole;
    const double t = RetentionTimeFromIndex(p, ri);
    const double lo = t + p.retDeviation - p.retRadius;
    const double hi = t + p.retDeviation + p.retRadius;
    auto scanOf = [&](double u) { return std::floor((u - first) * n / (last - first) + 0.5) + 1; };
    const double start = std::max(scanOf(lo), 1.0);
    const double end = scanOf(hi);
    if (start > n || end < 1 || end < start) return whole;
    return {static_cast<int>(start), static_cast<int>(std::min<double>(n, end)), false};
}

}  // namespace kiv
