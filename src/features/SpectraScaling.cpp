#include "features/SpectraScaling.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "features/MassLists.h"

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;
// A definition set uses one or two weighting exponents; more distinct ones are computed peak by
// peak rather than kept (each table holds up to 65,536 doubles).
constexpr size_t kMaxWeightTables = 8;

// m^c for m = 0..M, taken from (or added to) the tables of scratch; nullptr when no table is
// kept for it. The entries are the very pow(m, c) a peak would compute.
const double* MassPowers(EngineScratch& scratch, double c, int M)
{
    if (M > kHighestMass) return nullptr;
    MassWeights* table = nullptr;
    for (MassWeights& t : scratch.massWeights) {
        if (std::bit_cast<uint64_t>(t.exponent) == std::bit_cast<uint64_t>(c)) table = &t;
    }
    if (!table) {
        if (scratch.massWeights.size() >= kMaxWeightTables) return nullptr;
        table = &scratch.massWeights.emplace_back();
        table->exponent = c;
    }
    std::vector<double>& powers = table->powers;
    if (powers.size() <= static_cast<size_t>(M)) {
        powers.reserve(static_cast<size_t>(M) + 1);
        for (size_t m = powers.size(); m <= static_cast<size_t>(M); ++m) {
            powers.push_back(std::pow(static_cast<double>(m), c));
        }
    }
    return powers.data();
}

}  // namespace

// Every step maps 0 to 0, so only the spectrum's peaks need to be visited.
bool ScaleSpectra(const SciLine& line, CMatrix& spectra, const CSpectraView& view, EngineScratch& scratch)
{
    const int G = spectra.Rows(), M = spectra.Cols();
    const double t = line.threshold, b = line.intensityExponent, c = line.massExponent;
    const bool cut = t > kEpsilon || t < -kEpsilon;
    const bool weighMasses = c > kEpsilon || c < -kEpsilon;
    const bool weighIntensities = !weighMasses && std::fabs(b - 1.0) > kEpsilon;
    bool changed = cut || weighMasses || weighIntensities;
    // Threshold t > 0: intensities at or below t vanish and the rest is stretched back onto
    // 0..100. t < 0: intensities below |t| vanish, the rest stays.
    const double stretch = 100.0 / (100.0 - t);
    const double* massPowers = weighMasses ? MassPowers(scratch, c, M) : nullptr;
    for (int i = 1; i <= G; ++i) {
        CMatrixRow<double> row = spectra.Row(i);
        const CPeakMasses peaks = view.Peaks(i, 1, M);
        for (int m : peaks) {
            double& x = row[m];
            if (t > kEpsilon) {
                x = x > t ? (x - t) * stretch : 0.0;
            } else if (t < -kEpsilon && x < -t) {
                x = 0.0;
            }
            // Weighting x^b * m^c: c > 0 stresses the heavy, structure-specific ions.
            if (weighMasses) {
                if (x > kEpsilon) {
                    x = std::pow(x, b) * (massPowers ? massPowers[m] : std::pow(static_cast<double>(m), c));
                }
            } else if (weighIntensities) {
                if (x > kEpsilon) x = std::pow(x, b);
            }
        }
        if (!line.normalise) continue;
        // Back to a base peak of 100 (the row maximum, searched from 1e-308 as RowMax does).
        double J = 1e-308;
        for (int m : peaks) {
            if (row[m] > J) J = row[m];
        }
        if (std::fabs(J - 100.0) <= kEpsilon) continue;
        for (int m : peaks) {
            if (row[m] > kEpsilon) row[m] = row[m] / J * 100.0;
        }
        changed = true;
    }
    return changed;
}

}  // namespace kiv
