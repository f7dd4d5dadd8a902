#include "gcms/RetentionConversion.h"

#include <cmath>

namespace kiv {

namespace {

constexpr double kEncodedTimeOffset = 10000.0;
constexpr double kNegligible = 1e-300;

double EncodedTime(double retentionTime) { return retentionTime * 1000.0 + kEncodedTimeOffset; }

}  // namespace

double RetentionTimeFromIndex(const CParameters& p, double x)
{
    if (x >= kEncodedTimeOffset) return (x - kEncodedTimeOffset) * 0.001;
    return p.retXq * x * x + p.retXk * x + p.retXd;
}

double RetentionIndexFromTime(const CParameters& p, double t)
{
    if (std::fabs(p.retXq) <= kNegligible) {
        // A calibration without slope maps every index to one time and has no inverse.
        if (std::fabs(p.retXk) <= kNegligible) return EncodedTime(t);
        return (t - p.retXd) / p.retXk;
    }
    const double d = p.retXk * p.retXk - 4.0 * p.retXq * (p.retXd - t);
    if (d < 0) return EncodedTime(t);
    return (std::sqrt(d) - p.retXk) / (2.0 * p.retXq);
}

}  // namespace kiv
