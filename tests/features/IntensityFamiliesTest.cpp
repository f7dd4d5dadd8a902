#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FeatureTestSupport.h"

using namespace kiv;
using namespace kiv::test;


TEST(IntensityFamilies, ModuloSums)
{
    const Peaks p{{1, 10}, {2, 20}, {3, 30}, {4, 40}, {5, 50}, {6, 100}};
    // Residue 1: masses 1, 4 -> 50; residue 2: 2, 5 -> 70; residue 0 (column 3): 3, 6 -> 130.
    ExpectRow(FeatureRow({"MD 3 1 6 0"}, 6, p), {50, 70, 130});
    ExpectRow(FeatureRow({"MD 3 1 6 M"}, 6, p), {50 * 100.0 / 130, 70 * 100.0 / 130, 100});
    ExpectRow(FeatureRow({"MD 3 1 6 S"}, 6, p), {20, 28, 52});
    // lo and hi limit the masses: 2..4 -> residue 1: 4; 2: 2; 0: 3.
    ExpectRow(FeatureRow({"MD 3 2 4"}, 6, p), {40, 20, 30});
    // All intensity above the highest mass summed.
    ExpectRow(FeatureRow({"MD 14 1 800 M"}, 900, {{850, 100}}), Row(14, 0.0));
    ExpectRow(FeatureRow({"MD 3 10 20"}, 6, p), {0, 0, 0});
    // A modulus below 1 yields no feature.
    EXPECT_TRUE(FeatureRow({"MD 0", "MD -3"}, 6, p).empty());
}

TEST(IntensityFamilies, LogRatios)
{
    const double D = std::log(100.0);  // threshold 1
    // Equal intensities -> 50; 100 against a peak below the threshold -> 100.
    ExpectRow(FeatureRow({"LR 1 50 0 1"}, 60, {{50, 40}, {51, 40}}), {50});
    ExpectRow(FeatureRow({"LR 1 50 0 1"}, 60, {{50, 100}, {51, 0.5}}), {100});
    // I(50) = 10, I(51) = 100.
    const Peaks rising{{50, 10}, {51, 100}};
    ExpectRow(FeatureRow({"LR 1 50 0 1"}, 60, rising), {50 + 50 * std::log(0.1) / D});  // 25
    ExpectRow(FeatureRow({"LR 1 50 1 1"}, 60, rising), {0});
    ExpectRow(FeatureRow({"LR 1 50 2 1"}, 60, rising), {50});
    ExpectRow(FeatureRow({"LR 1 50 3 1"}, 60, rising), {50});  // 100 ln 10 / ln 100
    // Partner beyond the spectrum (58 + 5 > 60): the partner counts as the threshold.
    ExpectRow(FeatureRow({"LR 5 58 0 1", "LR 5 58 1 1", "LR 5 58 2 1", "LR 5 58 3 1"}, 60, {{58, 10}}),
              {75, 50, 0, 0});
    // Mass beyond the spectrum.
    ExpectRow(FeatureRow({"LR 1 70 0 1", "LR 1 70 1 1"}, 60, {{50, 10}}), {50, 0});
    // Threshold 10: D = ln 10, I(20) = 100 against I(21) = 1 (floored to 10).
    ExpectRow(FeatureRow({"LR 1 20 0 10"}, 30, {{20, 100}, {21, 1}}), {100});
}

TEST(IntensityFamilies, Autocorrelation)
{
    // Masses 1..4 with 1, 2, 3, 4: sxx = 30; lag 1: 2 + 6 + 12 = 20; lag 2: 3 + 8 = 11; lag 3: 4.
    const Peaks p{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    ExpectRow(FeatureRow({"AC 1 4 1-4 N"}, 4, p), {2000.0 / 30, 1100.0 / 30, 400.0 / 30, 0});
    ExpectRow(FeatureRow({"AC 1 10 1"}, 4, p), {2000.0 / 30});  // hi clipped to the spectrum
    ExpectRow(FeatureRow({"AC 2 4 1"}, 4, p), {100.0 * (6 + 12) / 29});
    ExpectRow(FeatureRow({"AC 0 4 1", "AC 1 0 1", "AC 5 9 1"}, 4, p), {0, 0, 0});
    ExpectRow(FeatureRow({"AC 1 4 1"}, 4, {}), {0});  // nothing to correlate
}

TEST(IntensityFamilies, RangeMeans)
{
    // The divisor is the written width, also beyond the spectrum's end.
    ExpectRow(FeatureRow({"IM 1/1000"}, 100, {{10, 100}, {20, 50}}), {0.15});
    ExpectRow(FeatureRow({"IM 200/300,5/15"}, 100, {{10, 100}, {20, 50}}), {0, 100.0 / 11});
    // hi < lo: an empty sum over a negative width, stored as computed.
    Row reversed = FeatureRow({"IM 12/10"}, 100, {{10, 100}});
    EXPECT_EQ(reversed.at(0), 0.0);
    EXPECT_TRUE(std::signbit(reversed.at(0)));

    const Peaks flat{{1, 75}, {2, 75}, {3, 75}, {4, 75}};  // mean 75 over 1..4
    // Power, offset 0: 75^0.5 * 100 / 100^0.5 = 86.60...
    ExpectRow(FeatureRow({"IMTP0.5 1/4"}, 4, flat), {std::sqrt(75.0) * 10});
    // "IMTP" + 7 characters of exponent + offset from position 11: a = 2, b = 50.
    // (75 - 50)^2 * 100 / 50^2 = 25.
    ExpectRow(FeatureRow({"IMTP2.0000050 1/4"}, 4, flat), {25});
    // Logarithm c = 0.1: (log10 75.1 - log10 0.1) * 100 / (log10 100.1 - log10 0.1).
    ExpectRow(FeatureRow({"IMTL0.1 1/4"}, 4, flat), {(std::log10(75.1) + 1) * 100 / (std::log10(100.1) + 1)});
    // Sigmoid with the defaults k = m = 20.
    auto s = [](double x) { return 1 / (1 + std::exp(-0.2 * (x - 20))); };
    ExpectRow(FeatureRow({"IMTS 1/4"}, 4, flat), {(s(75) - s(0)) * 100 / (s(100) - s(0))});
    ExpectRow(FeatureRow({"IMTS 1"}, 4, {{1, 100}}), {100});
    // "IMT" without P, L or S: the plain mean.
    ExpectRow(FeatureRow({"IMT 1/4", "IMTp2 1/4", "IMTX 1/4"}, 4, flat), {75, 75, 75});
}

TEST(IntensityFamilies, LocalShares)
{
    const Peaks p{{9, 20}, {10, 60}, {11, 20}, {19, 5}, {20, 15}};
    ExpectRow(FeatureRow({"IML 1 10,20,30"}, 20, p), {60, 75, 0});
    ExpectRow(FeatureRow({"IML 0 10,15"}, 20, p), {100, 0});  // empty neighbourhood sum -> 0
    ExpectRow(FeatureRow({"IML -1 10"}, 20, p), {0});  // an empty window
    ExpectRow(FeatureRow({"IML"}, 20, {{1, 40}}), {100});
}

TEST(IntensityFamilies, IonCurrentShares)
{
    // All intensity at even masses: EVEN = 100. Total 200, 150 of it below 79, base peak 100.
    const Peaks even{{40, 100}, {50, 50}, {90, 50}};
    ExpectRow(FeatureRow({"TYP ALL 31 800"}, 100, even), {75, 50, 100});
    ExpectRow(FeatureRow({"TYP EVEN 31 800"}, 100, {{41, 30}, {42, 10}}), {25});
    // The window starts at 41: the peak at 40 is outside.
    ExpectRow(FeatureRow({"TYP IBAS 41 800"}, 100, even), {50});
    ExpectRow(FeatureRow({"TYP DUST 79 800"}, 100, even), {0});
    ExpectRow(FeatureRow({"TYP ALL 200 800"}, 100, even), {0, 0, 0});
    ExpectRow(FeatureRow({"TYP ALL 31 800"}, 100, {}), {0, 0, 0});
    ExpectRow(FeatureRow({"TYP ODD 31 800"}, 100, even), {0, 0, 0});
}
