#include <gtest/gtest.h>

#include <map>

#include "search/SiscomPreparation.h"

using namespace kiv;

namespace {

CMassSpectrum VectorSpectrum(int lastMass, const std::map<int, double>& peaks)
{
    CMassSpectrum spectrum;
    spectrum.empty = 0;
    spectrum.isVector = 1;
    spectrum.lastMass = static_cast<uint16_t>(lastMass);
    spectrum.firstMass = 1;
    spectrum.vector.Alloc(1, lastMass);
    for (auto [mass, intensity] : peaks) spectrum.vector.Set(1, mass, intensity);
    return spectrum;
}

SiscomOptions Options(int query, int isotopes = 0, int weak = 0, int maxPeaks = 150)
{
    return {isotopes, query, weak, maxPeaks};
}

}  // namespace

TEST(SiscomPreparation, IsotopeCorrection)
{
    // b = 40 (n = 3): I(40) loses 3.33 and I(41) 0.00616; then b = 41 takes 3.33 % of the
    // corrected I(40) from I(41).
    CMassSpectrum spectrum = VectorSpectrum(41, {{39, 100}, {40, 50}, {41, 10}});
    std::string name = "x";
    PrepareSiscom(spectrum, name, Options(1, 1));
    EXPECT_NEAR(spectrum.vector.Get(1, 40), 46.67, 1e-12);
    EXPECT_NEAR(spectrum.vector.Get(1, 41), 10 - 0.00616 - 0.0333 * 46.67, 1e-12);
    EXPECT_EQ(name, "SisQueryx");

    // Below mass 27 nothing is corrected (and everything below 26 is filtered anyway).
    spectrum = VectorSpectrum(26, {{26, 100}});
    PrepareSiscom(spectrum, name, Options(0, 1));
    EXPECT_EQ(spectrum.vector.Get(1, 26), 100.0);
    EXPECT_EQ(name, "SisReferSisQueryx");
}

TEST(SiscomPreparation, MassFilter)
{
    std::string name;
    CMassSpectrum spectrum = VectorSpectrum(60, {{20, 50}, {27, 40}, {28, 100}, {32, 60}, {30, 20}, {44, 22},
                                                 {58, 20}, {50, 1.6}, {42, 12}, {56, 13}});
    PrepareSiscom(spectrum, name, Options(1));
    const CMatrix& v = spectrum.vector;
    EXPECT_EQ(v.Get(1, 20), 0.0);
    EXPECT_EQ(v.Get(1, 28), 0.0);
    EXPECT_EQ(v.Get(1, 32), 0.0);
    EXPECT_EQ(v.Get(1, 42), 0.0);  // 56 is stronger
    EXPECT_EQ(v.Get(1, 44), 0.0);  // 22 <= 0.55 * (20 + 20)
    EXPECT_EQ(v.Get(1, 27), 100.0);  // the new base peak
    EXPECT_NEAR(v.Get(1, 50), 1.6 * 100 / 40, 1e-12);  // a query keeps 1.6

    spectrum = VectorSpectrum(60, {{27, 100}, {30, 20}, {44, 23}, {50, 1.6}, {42, 12}});
    PrepareSiscom(spectrum, name, Options(0));
    EXPECT_EQ(spectrum.vector.Get(1, 50), 0.0);  // a reference does not
    EXPECT_EQ(spectrum.vector.Get(1, 44), 23.0);  // 23 > 0.55 * 20, nothing at 58
    EXPECT_EQ(spectrum.vector.Get(1, 42), 12.0);
}

TEST(SiscomPreparation, PeakReductionKeepsTheStrongestPeaks)
{
    // Three groups of 13 neighbouring masses, 14 apart from nothing, so that all survive the
    // mass filter: 39 peaks of height 3 and more.
    std::map<int, double> peaks;
    for (int group : {101, 131, 161}) {
        for (int k = 0; k < 13; ++k) peaks[group + k] = 3.0 + k + (group - 101) / 2.0;
    }
    peaks[101] = 4.0;  // equal to mass 102: the lower mass goes first
    auto peaksLeft = [](const CMassSpectrum& spectrum) {
        std::vector<int> kept;
        for (int m = 1; m <= 200; ++m) {
            if (spectrum.vector.Get(1, m) > 1e-12) kept.push_back(m);
        }
        return kept;
    };
    std::string name;
    // Weak-peak removal examines the 39 - 5 - 26 = 8 weakest peaks; none is at most 0.08 high.
    CMassSpectrum spectrum = VectorSpectrum(200, peaks);
    PrepareSiscom(spectrum, name, Options(1, 0, 1, 500));
    EXPECT_EQ(peaksLeft(spectrum).size(), 39u);

    spectrum = VectorSpectrum(200, peaks);
    PrepareSiscom(spectrum, name, Options(1, 0, 1, 38));
    std::vector<int> kept = peaksLeft(spectrum);
    ASSERT_EQ(kept.size(), 38u);
    EXPECT_EQ(kept.front(), 102);
    spectrum = VectorSpectrum(200, peaks);
    PrepareSiscom(spectrum, name, Options(1, 0, 0, 3));
    EXPECT_EQ(peaksLeft(spectrum), (std::vector<int>{171, 172, 173}));
}
