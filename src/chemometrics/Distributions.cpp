#include "chemometrics/Distributions.h"

#include <cmath>
#include <limits>

namespace kiv {

namespace {

constexpr int kMaxTerms = 300;
constexpr double kEpsilon = 1e-15;
constexpr double kTiny = 1e-300;

// Continued fraction of the incomplete beta function (modified Lentz).
double BetaFraction(double a, double b, double x)
{
    const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
    double c = 1.0;
    double d = 1.0 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const int m2 = 2 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < kEpsilon) break;
    }
    return h;
}

}  // namespace

double IncompleteBeta(double a, double b, double x)
{
    if (!(x > 0.0)) return 0.0;
    if (!(x < 1.0)) return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    // The fraction converges fast on the side of the mean; use the symmetry on the other side.
    if (x < (a + 1.0) / (a + b + 2.0)) return front * BetaFraction(a, b, x) / a;
    return 1.0 - front * BetaFraction(b, a, 1.0 - x) / b;
}

double FQuantile(double p, double d1, double d2)
{
    if (!(d1 > 0.0) || !(d2 > 0.0) || !(p > 0.0) || !(p < 1.0)) return std::numeric_limits<double>::quiet_NaN();
    // P(F <= f) = I_z(d1 / 2, d2 / 2) with z = d1 f / (d1 f + d2): bisection on z.
    double low = 0.0, high = 1.0;
    for (int i = 0; i < 200 && high - low > 1e-16; ++i) {
        const double mid = 0.5 * (low + high);
        if (IncompleteBeta(0.5 * d1, 0.5 * d2, mid) < p)
            low = mid;
        else
            high = mid;
    }
    const double z = 0.5 * (low + high);
    return d2 * z / (d1 * (1.0 - z));
}

}  // namespace kiv
