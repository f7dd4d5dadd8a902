// The engine keeps buffers and tables from call to call (mass weights, pattern positions, peak
// lists) and takes shortcuts that must not show in any value: a spectrum's features are the
// same bits whatever was computed before, in a batch or alone, and the sliding pattern scores
// equal those of a plain position-by-position evaluation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "FeatureTestSupport.h"

namespace kiv::test {
namespace {

// Sparse spectra with random intensities, a base peak of 100 and some peaks below 1.
Peaks RandomPeaks(std::mt19937& random, int highestMass)
{
    Peaks peaks;
    std::uniform_real_distribution<double> intensity(0.001, 99.0);
    for (int m = 1; m <= highestMass; ++m) {
        if (random() % 3 == 0) peaks.emplace_back(m, random() % 7 == 0 ? 0.5 : intensity(random));
    }
    if (peaks.empty()) peaks.emplace_back(highestMass, 100.0);
    peaks[random() % peaks.size()].second = 100.0;
    return peaks;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<double> Row(const CMatrix& m, int row)
{
    std::vector<double> values;
    for (int j = 1; j <= m.Cols(); ++j) values.push_back(m.Get(row, j));
    return values;
}

void ExpectSameBits(const std::vector<double>& expected, const std::vector<double>& actual, const char* what)
{
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (size_t j = 0; j < expected.size(); ++j) {
        EXPECT_TRUE(SameBits(expected[j], actual[j])) << what << ": column " << j + 1 << " " << expected[j] << " vs "
                                                      << actual[j];
    }
}

const std::vector<std::string> kEveryFamily = {
    "MD 14 1 100 M",
    "LR 1 1-60 0 1",
    "LR 3 5-40 3 0.5",
    "AC 1 100 1-9 N",
    "IM 1/10,5-8,30/90",
    "IMTP0.5 20/40,1/3",
    "IML 2 1-70",
    "IML 9 10,50,119",
    "TYP ALL 1 800",
    "SCI 1 0.5 0.2 M",
    "PG g ALL 29,43,57,71,85,99",
    "PG g MEAN2 1-4,60",
    "SCI 2 1 -0.5 N",
    "PPS p ALL 5 110 20 30 22 100 27 10 41 60",
    "PPS p COR2ABP0.5 1 60 3 50 9 100",
    "PPS p CORRABS 0 0 40 100 41 20",
    "SP PYRIMID01 ALL",
};

TEST(EngineReuse, ResultsDoNotDependOnEarlierCalls)
{
    std::mt19937 random(4711);
    // Highest masses that grow and shrink, so that tables and buffers are extended and reused.
    const int highestMasses[] = {40, 120, 75, 300, 1, 66, 120};
    FeatureDefinitionSet shared;
    shared.lines = kEveryFamily;
    for (int M : highestMasses) {
        std::vector<Peaks> spectra = {RandomPeaks(random, M), RandomPeaks(random, M), RandomPeaks(random, M)};
        CMatrix batch = MakeSpectra(M, spectra);
        const CMatrix input = batch;
        shared.ComputeFeatures(batch, 0);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(0, std::memcmp(input.Data() + (i - 1) * M, batch.Data() + (i - 1) * M, sizeof(double) * M));
            CMatrix alone = MakeSpectra(M, {spectra[static_cast<size_t>(i - 1)]});
            FeatureDefinitionSet fresh = FirstPass(kEveryFamily, alone);
            ExpectSameBits(Row(fresh.features, 1), Row(shared.features, i), "batch against alone");
        }
        // A row pass of one spectrum on the set that has seen all the others.
        CMatrix last = MakeSpectra(M, {spectra[2]});
        const std::vector<double> expected = Row(shared.features, 3);
        shared.ResizeFeatures(1, 0);
        shared.ComputeFeatures(last, 1);
        ExpectSameBits(expected, Row(shared.features, 1), "row pass");
    }
}

// The "PPS" scores of "ALL" position by position, as the family defines them.
std::vector<double> PlainPatternScores(const std::vector<int>& p, const std::vector<double>& w, int lo, int hi,
                                       const Peaks& peaks, int M)
{
    std::vector<double> spectrum(static_cast<size_t>(M) + 1, 0.0);
    for (auto [mass, intensity] : peaks) spectrum[static_cast<size_t>(mass)] = intensity;
    auto at = [&](long long mass) { return mass >= 1 && mass <= M ? spectrum[static_cast<size_t>(mass)] : 0.0; };
    const size_t N = p.size();
    double ww = 0, ws = 0;
    for (double x : w) ww += x * x, ws += x;
    const double rootCount = std::sqrt(N * 10000.0);
    std::vector<double> best(6, 0.0);
    const long long shifts = hi + p.front() - lo - p.back() + 1, offset = lo - p.front() - 1;
    for (long long s = 1; s <= shifts; ++s) {
        const long long shift = offset + s;
        double sxy = 0, syy = 0, squares = 0, absolutes = 0, fit = 100, found = 0;
        bool beyond = false;
        for (size_t j = 0; j < N; ++j) {
            if (p[j] + shift > M) beyond = true;
            const double x = at(p[j] + shift);
            if (!beyond) sxy += x * w[j], syy += x * x;
            squares += (x - w[j]) * (x - w[j]);
            absolutes += std::fabs(x - w[j]);
            fit = std::min(fit, w[j] >= 1e-12 ? 100.0 * x / w[j] : 100.0);
            found += x;
        }
        double scores[6] = {-1, -1, 100.0 - std::sqrt(squares) * 100.0 / rootCount,
                            100.0 - absolutes / static_cast<double>(N), fit,
                            found > 1e-12 ? fit * ws / found : 0.0};
        if (syy > 1e-12) {
            const double r = sxy / std::sqrt(ww * syy);
            scores[0] = 100.0 * r;
            scores[1] = 100.0 * (r * r);
        }
        for (size_t k = 0; k < 6; ++k) best[k] = std::max(best[k], scores[k]);
        if (p.front() + shift > M) break;
    }
    return best;
}

// The "PPS ... ALL 1 90" line of a pattern.
std::string PatternLine(const std::vector<int>& p, const std::vector<double>& w)
{
    std::string line = "PPS p ALL 1 90";
    for (size_t j = 0; j < p.size(); ++j) {
        char pair[64];
        std::snprintf(pair, sizeof pair, " %d %g", p[j], w[j]);
        line += pair;
    }
    return line;
}

TEST(EngineReuse, SlidingPatternEqualsPlainEvaluation)
{
    // Unsorted masses: once mass 30 has left the spectrum, the entries after it no longer count
    // in the correlation, although they still lie inside. Here that position is the best one.
    const std::vector<int> p1 = {5, 30, 8};
    const std::vector<double> w1 = {100, 50, 100};
    const Peaks boundary = {{16, 100}, {19, 100}};
    ExpectSameBits(PlainPatternScores(p1, w1, 1, 90, boundary, 40), FeatureRow({PatternLine(p1, w1)}, 40, boundary),
                   "boundary");
    EXPECT_NEAR(100.0 / 1.5, FeatureRow({PatternLine(p1, w1)}, 40, boundary)[0], 1e-12);

    // Random spectra, with a weight of 0 and a pattern that runs off both ends of the spectrum.
    std::mt19937 random(1234);
    const std::vector<int> p = {12, 30, 14, 21};
    const std::vector<double> w = {40, 100, 0, 7.5};
    for (int trial = 0; trial < 200; ++trial) {
        const int M = 20 + static_cast<int>(random() % 60);
        const Peaks peaks = RandomPeaks(random, M);
        ExpectSameBits(PlainPatternScores(p, w, 1, 90, peaks, M), FeatureRow({PatternLine(p, w)}, M, peaks), "random");
    }
}

}  // namespace
}  // namespace kiv::test
