#include "features/PeakGroupFamilies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kiv {

namespace {

// One method over the group's entries in list order (duplicates count twice). N counts every
// entry, also those above the spectrum's highest mass M, which read as intensity 0.
double GroupStatistic(const GroupMethod& method, const std::vector<int>& masses, const CSpectrumRow& spectrum, int M)
{
    const double N = static_cast<double>(masses.size());
    using Kind = GroupMethod::Kind;
    switch (method.kind) {
    case Kind::GeometricMean: {
        // "PROD0": a missing peak (even one beyond the spectrum) zeroes the geometric mean.
        // "PRODk": intensities are floored at k, and entries beyond the spectrum are skipped.
        double product = 1;
        for (int m : masses) {
            if (method.k == 0) {
                product *= spectrum(m);
            } else if (m <= M) {
                product *= std::max(spectrum(m), static_cast<double>(method.k));
            }
        }
        // pow(+0, 1 / N) is +0: a missing peak needs no pow.
        if (product == 0.0 && !std::signbit(product)) return 0.0;
        return std::pow(product, 1.0 / N);
    }
    case Kind::Mean: {
        // "MEANk": the mean, penalised by the k-th power of the share of peaks present (>= 0.01).
        double sum = 0, present = 0;
        for (int m : masses) {
            if (m > M) continue;
            const double x = spectrum.At(m);
            sum += x;
            if (x >= 0.01) present += 1;
        }
        if (method.k >= 1) {
            sum *= method.presencePowers.empty() ? std::pow(present / N, method.k)
                                                 : method.presencePowers[static_cast<size_t>(present)];
        }
        return sum / N;
    }
    case Kind::MeanAndMinimum: {
        double sum = 0, minimum = 100;
        for (int m : masses) {
            const double x = spectrum(m);
            if (m <= M) sum += x;
            if (x < minimum) minimum = x;
        }
        return (sum + N * minimum) / (2 * N);
    }
    case Kind::TransformedMean: {
        double sum = 0;
        for (int m : masses) {
            if (m <= M) sum += method.transform(spectrum.At(m));
        }
        return sum / N;
    }
    case Kind::Unknown:
        break;
    }
    return 0;
}

}  // namespace

// A group without entries has no defined statistic; its features are 0. An unknown method name
// keeps its column at 0 (for the fixed group too: it earns no pattern bonus).
void ComputeGroup(const GroupLine& line, const CSpectraView& spectra, CFeatureTarget& target)
{
    const int M = spectra.HighestMass();
    const int cols = static_cast<int>(line.methods.size());
    for (int i = 1; i <= spectra.Count(); ++i) {
        CSpectrumRow spectrum = spectra.Spectrum(i);
        // "PYRIMID01": a strongest 66 among 64..66 adds 100 before halving.
        const bool bonus = line.pyrimidineRule && spectrum(66) > spectrum(65) && spectrum(66) > spectrum(64);
        for (int j = 1; j <= cols; ++j) {
            const GroupMethod& method = line.methods[static_cast<size_t>(j - 1)];
            double value = 0;
            if (!line.masses.empty() && method.kind != GroupMethod::Kind::Unknown) {
                value = GroupStatistic(method, line.masses, spectrum, M);
                if (line.pyrimidineRule) value = bonus ? (value + 100.0) / 2.0 : value / 2.0;
            }
            target.Set(i, j, value);
        }
    }
}

}  // namespace kiv
