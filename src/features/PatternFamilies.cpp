#include "features/PatternFamilies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;

struct PatternConstants {
    double weightSquares = 0;  // sum of w_j^2 over the whole pattern
    double weightSum = 0;  // sum of w_j
    double count = 0;  // N
    double rootCount = 0;  // sqrt(N * 10000)
};

// What the line's methods need: the correlation terms and the smallest ratio (a division per
// entry) are left out when no method reads them.
struct PatternNeeds {
    bool correlation = false;
    bool fit = false;
};

PatternNeeds NeedsOf(const PatternLine& line)
{
    using Kind = PatternMethod::Kind;
    PatternNeeds needs;
    for (const PatternMethod& method : line.methods) {
        if (method.kind == Kind::Correlation) needs.correlation = true;
        if (method.kind == Kind::Fit || method.kind == Kind::Purity) needs.fit = true;
    }
    return needs;
}

// What the positions of the pattern (masses p_j, intensities w_j) meet in one spectrum
// (intensities I_j). Per position:
//   sxy, syy, largest  correlation terms, over the entries before the first one beyond the
//                      spectrum's end;
//   squares, absolutes distance terms, over all entries (beyond the end reads 0);
//   fit                the smallest 100 * I_j / w_j, starting from 100 (a pattern peak of
//                      intensity ~0 counts 100): how far the weakest pattern peak is matched;
//   found              sum of I_j.
// The sums of all positions are built entry by entry: each position still adds its terms in
// entry order, but one entry's terms for neighbouring positions are independent and read
// neighbouring masses, so they run side by side. Each method then scores all positions in one
// run. Positions that meet no intensity at all need no special case: whether entries lie beyond
// the end or meet -0 instead of 0, sum I^2 = 0 leaves the correlation undefined, the distances
// are the same, and a FIT of -0 or 0 never counts, as scores only count above 0.
class CPositions {
public:
    CPositions(EngineScratch::PatternPositions& sums, const PatternLine& line, const PatternNeeds& needs)
        : sums_(sums), line_(line), needs_(needs)
    {
    }
    size_t Count() const { return count_; }

    // The positions of spectrum: position k (0-based) puts entry j on mass p_j + offset + 1 + k.
    void Gather(const CSpectrumRow& spectrum, int64_t offset, size_t count)
    {
        count_ = count;
        correlationsDone_ = false;
        Reset(count);
        const int64_t M = spectrum.HighestMass();
        const size_t N = line_.masses.size();
        const int64_t P = static_cast<int64_t>(count);
        int64_t prefixMax = INT64_MIN;  // the largest mass among entries 0..j
        for (size_t j = 0; j < N; ++j) {
            const int64_t p = line_.masses[j];
            prefixMax = std::max(prefixMax, p);
            const double w = line_.intensities[j];
            // Positions k in [a, b) put the entry on a mass 1..M; the others read 0. Entry j
            // counts in the correlation of the positions below c, where it and every entry
            // before it lie on masses <= M.
            const int64_t a = std::clamp<int64_t>(-p - offset, 0, P);
            const int64_t b = std::clamp<int64_t>(M - p - offset, a, P);
            const int64_t c = std::clamp<int64_t>(M - prefixMax - offset, 0, P);
            const double* x = b > a ? spectrum.Data() + (p + offset + a) : nullptr;
            AddEntry<true>(0, a, w, nullptr, c);
            AddEntry<false>(a, b, w, x, c);
            AddEntry<true>(b, P, w, nullptr, c);
        }
    }

    // Entry j's terms for positions k0..k1-1, with intensities x[0..] (all 0 when Zero), the
    // correlation terms only below c.
    template <bool Zero>
    void AddEntry(int64_t k0, int64_t k1, double w, const double* x, int64_t c)
    {
        if (k0 >= k1) return;
        auto at = [x, k0](int64_t k) { return Zero ? 0.0 : x[k - k0]; };
        double* squares = sums_.squares.data();
        double* absolutes = sums_.absolutes.data();
        double* found = sums_.found.data();
        for (int64_t k = k0; k < k1; ++k) {
            const double d = at(k) - w;
            squares[k] += d * d;
            absolutes[k] += std::fabs(d);
            found[k] += at(k);
        }
        if (needs_.fit) {
            double* fit = sums_.fit.data();
            if (w >= kEpsilon) {
                for (int64_t k = k0; k < k1; ++k) {
                    const double ratio = 100.0 * at(k) / w;
                    fit[k] = ratio < fit[k] ? ratio : fit[k];
                }
            } else {
                for (int64_t k = k0; k < k1; ++k) fit[k] = 100.0 < fit[k] ? 100.0 : fit[k];
            }
        }
        if (needs_.correlation) {
            double* sxy = sums_.sxy.data();
            double* syy = sums_.syy.data();
            double* largest = sums_.largest.data();
            const int64_t end = std::min(k1, c);
            for (int64_t k = k0; k < end; ++k) {
                sxy[k] += at(k) * w;
                syy[k] += at(k) * at(k);
                largest[k] = at(k) > largest[k] ? at(k) : largest[k];
            }
        }
    }

    // The best score of method over the positions (0 when none beats 0).
    double Best(const PatternMethod& method, const PatternConstants& pattern)
    {
        using Kind = PatternMethod::Kind;
        const size_t P = Count();
        double best = 0;
        auto keep = [&best](double score) { best = score > best ? score : best; };
        switch (method.kind) {
        case Kind::Correlation: {
            // r = sum I w / sqrt(sum w^2 * sum I^2), undefined when nothing is found to
            // correlate with; the score is 100 r (r optionally raised to an exponent), or r times
            // a transform of the largest matched intensity.
            const std::vector<double>& r = Correlations(pattern);
            const std::vector<double>& syy = sums_.syy;
            const std::vector<double>& largest = sums_.largest;
            if (!method.timesLargest && method.exponent == 1) {
                for (size_t k = 0; k < P; ++k) {
                    if (syy[k] > kEpsilon) keep(100.0 * r[k]);
                }
                break;
            }
            // The transform of the largest matched intensity, remembered for the last
            // intensity it was asked for.
            double lastLargest = -1, lastValue = 0;  // the largest intensity is never negative
            for (size_t k = 0; k < P; ++k) {
                if (!(syy[k] > kEpsilon)) continue;
                double rk = r[k];
                if (method.exponent == 2) {
                    rk *= rk;
                } else if (method.exponent != 1) {
                    rk = std::pow(rk, method.exponent);
                }
                if (method.timesLargest) {
                    if (largest[k] != lastLargest) {
                        lastLargest = largest[k];
                        lastValue = method.largestTransform(largest[k]);
                    }
                    keep(rk * lastValue);
                } else {
                    keep(100.0 * rk);
                }
            }
            break;
        }
        // The distance scores fall as the distance grows, and so do their rounded values (every
        // rounded operation is monotonic): the best one is that of the smallest distance.
        case Kind::Euclidean:
            // 100 minus the root mean square difference.
            if (const double* d = Smallest(sums_.squares)) keep(100.0 - std::sqrt(*d) * 100.0 / pattern.rootCount);
            break;
        case Kind::CityBlock:
            if (const double* d = Smallest(sums_.absolutes)) keep(100.0 - *d / pattern.count);
            break;
        case Kind::Fit:
            for (size_t k = 0; k < P; ++k) keep(sums_.fit[k]);
            break;
        case Kind::Purity:
            // Purity: the pattern, scaled down until it fits under the spectrum (by the FIT
            // ratio), explains this share of the intensity found at the pattern's masses:
            //     PURE = FIT * sum w_j / sum I_j    (0 when nothing is found there).
            // FIT says how strongly the pattern is present, PURE whether the peaks at its masses
            // have the pattern's proportions and nothing else on top: 100 exactly when they are
            // proportional to the pattern (a spectrum equal to the pattern scores 100), lower as
            // foreign intensity adds to some of them. Since FIT * w_j / 100 <= I_j for every
            // entry, it never exceeds 100 on intensities of 0 and more.
            for (size_t k = 0; k < P; ++k) {
                const double found = sums_.found[k];
                keep(found > kEpsilon ? sums_.fit[k] * pattern.weightSum / found : 0.0);
            }
            break;
        case Kind::Unknown:
            break;
        }
        return best;
    }

private:
    // The correlation coefficient of every position, shared by the line's correlation methods;
    // positions with sum I^2 <= epsilon hold a value that is never read.
    const std::vector<double>& Correlations(const PatternConstants& pattern)
    {
        if (!correlationsDone_) {
            const size_t P = Count();
            sums_.r.resize(P);
            for (size_t k = 0; k < P; ++k) {
                const double syy = sums_.syy[k] > kEpsilon ? sums_.syy[k] : 1.0;
                sums_.r[k] = sums_.sxy[k] / std::sqrt(pattern.weightSquares * syy);
            }
            correlationsDone_ = true;
        }
        return sums_.r;
    }

    // The smallest of values, or nullptr when all are undefined (NaN); never -0, as the
    // distances are sums of non-negative terms starting from +0.
    const double* Smallest(const std::vector<double>& values) const
    {
        const double* smallest = nullptr;
        for (size_t k = 0; k < count_; ++k) {
            if (smallest ? values[k] < *smallest : values[k] == values[k]) smallest = &values[k];
        }
        return smallest;
    }

    void Reset(size_t count)
    {
        sums_.sxy.assign(count, 0.0);
        sums_.syy.assign(count, 0.0);
        sums_.largest.assign(count, 0.0);
        sums_.squares.assign(count, 0.0);
        sums_.absolutes.assign(count, 0.0);
        sums_.fit.assign(count, 100.0);
        sums_.found.assign(count, 0.0);
    }

    EngineScratch::PatternPositions& sums_;
    const PatternLine& line_;
    const PatternNeeds& needs_;
    size_t count_ = 0;
    bool correlationsDone_ = false;
};

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

    const int64_t M = spectra.HighestMass();
    const PatternNeeds needs = NeedsOf(line);
    // The scan runs up to the position that puts the first pattern mass beyond the spectrum:
    // no later position can meet anything.
    const int64_t firstMass = line.masses.front();
    const int64_t count = std::min(shifts, std::max<int64_t>(1, M - firstMass - offset + 1));
    CPositions positions(scratch.positions, line, needs);
    for (int i = 1; i <= G; ++i) {
        positions.Gather(spectra.Spectrum(i), offset, static_cast<size_t>(count));
        for (int j = 1; j <= cols; ++j) target.Set(i, j, positions.Best(line.methods[static_cast<size_t>(j - 1)], pattern));
    }
}

}  // namespace kiv
