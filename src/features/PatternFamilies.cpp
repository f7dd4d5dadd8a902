#include "features/PatternFamilies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;

// What one position of the pattern (masses p_j, intensities w_j) meets in a spectrum
// (intensities I_j), gathered in one pass for all methods.
struct PositionSums {
    // Correlation terms, over the entries before the first one beyond the spectrum's end.
    double sxy = 0, syy = 0, largest = 0;
    // Distance terms, over all entries (beyond the end reads 0).
    double squares = 0, absolutes = 0;
    // The smallest 100 * I_j / w_j, starting from 100 (a pattern peak of intensity ~0 counts
    // 100): how far the weakest pattern peak is matched.
    double fit = 100;
    double found = 0;  // sum of I_j
};

struct PatternConstants {
    double weightSquares = 0;  // sum of w_j^2 over the whole pattern
    double weightSum = 0;  // sum of w_j
    double count = 0;  // N
    double rootCount = 0;  // sqrt(N * 10000)
};

// Score of one method at one position; false when the position gives no usable score.
bool Score(const PatternMethod& method, const PositionSums& sums, const PatternConstants& pattern, double& score)
{
    using Kind = PatternMethod::Kind;
    switch (method.kind) {
    case Kind::Correlation: {
        // r = sum I w / sqrt(sum w^2 * sum I^2), optionally raised to an exponent; the score is
        // 100 r, or r times a transform of the largest matched intensity.
        if (sums.syy <= kEpsilon) return false;
        double r = sums.sxy / std::sqrt(pattern.weightSquares * sums.syy);
        if (method.exponent == 2) {
            r *= r;
        } else if (method.exponent != 1) {
            r = std::pow(r, method.exponent);
        }
        score = method.timesLargest ? r * method.largestTransform(sums.largest) : 100.0 * r;
        return true;
    }
    case Kind::Euclidean:
        // 100 minus the root mean square difference.
        score = 100.0 - std::sqrt(sums.squares) * 100.0 / pattern.rootCount;
        return true;
    case Kind::CityBlock:
        score = 100.0 - sums.absolutes / pattern.count;
        return true;
    case Kind::Fit:
        score = sums.fit;
        return true;
    case Kind::Purity:
        // Purity: the pattern, scaled down until it fits under the spectrum (by the FIT ratio),
        // explains this share of the intensity found at the pattern's masses:
        //     PURE = FIT * sum w_j / sum I_j    (0 when nothing is found there).
        // FIT says how strongly the pattern is present, PURE whether the peaks at its masses
        // have the pattern's proportions and nothing else on top: 100 exactly when they are
        // proportional to the pattern (a spectrum equal to the pattern scores 100), lower as
        // foreign intensity adds to some of them. Since FIT * w_j / 100 <= I_j for every
        // entry, it never exceeds 100 on intensities of 0 and more.
        score = sums.found > kEpsilon ? sums.fit * pattern.weightSum / sums.found : 0.0;
        return true;
    case Kind::Unknown:
        break;
    }
    return false;
}

// The sums of the position that puts pattern mass p_j on p_j + shift, reading the spectrum
// through intensity(mass); M is the spectrum's highest mass.
template <class Intensity>
PositionSums Gather(const PatternLine& line, const Intensity& intensity, int64_t shift, int64_t M)
{
    PositionSums sums;
    bool beyondEnd = false;
    for (size_t j = 0; j < line.masses.size(); ++j) {
        const int64_t mass = line.masses[j] + shift;
        if (mass > M) beyondEnd = true;
        const double x = intensity(mass), w = line.intensities[j];
        if (!beyondEnd) {
            sums.sxy += x * w;
            sums.syy += x * x;
            if (x > sums.largest) sums.largest = x;
        }
        const double d = x - w;
        sums.squares += d * d;
        sums.absolutes += std::fabs(d);
        const double ratio = w >= kEpsilon ? 100.0 * x / w : 100.0;
        if (ratio < sums.fit) sums.fit = ratio;
        sums.found += x;
    }
    return sums;
}

}  // namespace

// Positions: with 1 <= lo < hi the pattern slides so that its first mass runs from lo and its
// last mass ends on hi; otherwise it is compared at its own masses. The scan ends at the
// position that puts the pattern's first mass beyond the spectrum, so that a huge shift range
// costs no more than the spectrum is long.
void ComputePattern(const PatternLine& line, const CSpectraView& spectra, CFeatureTarget& target,
                    EngineScratch& scratch)
{
    const int G = spectra.Count();
    const int cols = static_cast<int>(line.methods.size());
    const size_t N = line.masses.size();
    for (int i = 1; i <= G; ++i) {
        for (int j = 1; j <= cols; ++j) target.Set(i, j, 0.0);
    }
    // A pattern without pairs has no similarity: its features stay 0.
    if (N == 0 || cols == 0) return;

    int64_t shifts = 1, offset = -1;
    if (1 <= line.lowest && line.lowest < line.highest) {
        shifts = int64_t(line.highest) + line.masses.front() - line.lowest - line.masses.back() + 1;
        offset = int64_t(line.lowest) - line.masses.front() - 1;
    }
    if (shifts < 1) return;

    PatternConstants pattern;
    for (double w : line.intensities) {
        pattern.weightSquares += w * w;
        pattern.weightSum += w;
    }
    pattern.count = static_cast<double>(N);
    pattern.rootCount = std::sqrt(pattern.count * 10000.0);

    const int M = spectra.HighestMass();
    std::vector<double>& best = scratch.values;
    best.resize(static_cast<size_t>(cols));
    auto keepBest = [&](const PositionSums& sums) {
        for (size_t j = 0; j < best.size(); ++j) {
            double score = 0;
            if (Score(line.methods[j], sums, pattern, score) && score > best[j]) best[j] = score;
        }
    };
    // A position that meets no intensity at all scores the same wherever it lies: sparse
    // spectra leave most positions empty, so that score is taken once per spectrum.
    const PositionSums empty = Gather(line, [](int64_t) { return 0.0; }, 0, INT64_MAX);
    for (int i = 1; i <= G; ++i) {
        CSpectrumRow spectrum = spectra.Spectrum(i);
        std::fill(best.begin(), best.end(), 0.0);
        bool emptySeen = false;
        for (int64_t s = 1; s <= shifts; ++s) {
            const int64_t shift = offset + s;
            bool meets = false;
            for (int p : line.masses) {
                if (spectrum(p + shift) != 0.0) {
                    meets = true;
                    break;
                }
            }
            if (meets) {
                keepBest(Gather(line, spectrum, shift, M));
            } else if (!emptySeen) {
                keepBest(empty);
                emptySeen = true;
            }
            // The first pattern mass beyond the spectrum: no later position can meet anything.
            if (line.masses.front() + shift > M) break;
        }
        for (int j = 1; j <= cols; ++j) target.Set(i, j, best[static_cast<size_t>(j - 1)]);
    }
}

}  // namespace kiv
