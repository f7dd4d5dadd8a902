#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FeatureTestSupport.h"

using namespace kiv;
using namespace kiv::test;


TEST(PeakGroups, Statistics)
{
    const int M = 50;
    const Peaks p{{10, 100}, {20, 25}, {30, 0.005}};
    ExpectRow(FeatureRow({"PG g PROD0 10,20"}, M, p), {50});  // sqrt(100 * 25)
    // Mass 60 lies beyond the spectrum: PROD0 becomes 0, PROD1 skips it but still counts it in N.
    ExpectRow(FeatureRow({"PG g PROD0 10,20,60", "PG g PROD1 10,20,60"}, M, p), {0, std::cbrt(2500.0)});
    // PROD5 floors intensities at 5: 100 * 25 * 5 over three entries.
    ExpectRow(FeatureRow({"PG g prod5 10,20,30"}, M, p), {std::cbrt(12500.0)});

    // 4 entries, 2 of them with at least 0.01: MEAN2 = (sum / 4) * (2/4)^2.
    const double sum = 125.005;
    ExpectRow(FeatureRow({"PG g MEAN0 10,20,30,40", "PG g MEAN1 10,20,30,40", "PG g MEAN2 10,20,30,40"}, M, p),
              {sum / 4, sum / 4 * 0.5, sum / 4 * 0.25});

    // MMIN: the average of mean and minimum; an entry beyond the spectrum has minimum 0.
    ExpectRow(FeatureRow({"PG g MMIN 10,20"}, M, p), {(125 + 2 * 25) / 4.0});
    ExpectRow(FeatureRow({"PG g MMIN 10,20,60"}, M, p), {125 / 6.0});
    ExpectRow(FeatureRow({"PG g MMIN 1-3"}, M, {{1, 100}, {2, 100}, {3, 100}}), {100});

    // Transformed means map 100 to 100 and 0 to 0: group of 100 and 0 gives 50 each.
    ExpectRow(FeatureRow({"PG g MP0.2 10,40", "PG g ML0.1 10,40", "PG g MS 10,40"}, M, p), {50, 50, 50});
    // MP with offset: a = 2 from positions 2..8, b = 50 from 9: (100 - 50)^2 * 100 / 50^2 = 100, 25 -> 0.
    ExpectRow(FeatureRow({"PG g MP2.0000050 10,20"}, M, p), {50});
    // A power over 25 alone: 25^0.2 * 100 / 100^0.2.
    ExpectRow(FeatureRow({"PG g mp0.2 20"}, M, p), {std::pow(0.25, 0.2) * 100});

    // Unknown methods and empty groups give 0; "ALL" is eight columns.
    ExpectRow(FeatureRow({"PG g XYZ 10", "PG g PROD0 0"}, M, p), {0, 0});
    ExpectRow(FeatureRow({"PG g ALL 0"}, M, p), Row(8, 0.0));
}

TEST(PeakGroups, PyrimidineRule)
{
    const Peaks equal{{64, 100}, {65, 100}, {66, 100}, {90, 100}};
    // No bonus: 66 is not strictly the strongest.
    ExpectRow(FeatureRow({"SP PYRIMID01 PROD0"}, 100, equal), {50});
    const Peaks strong66{{64, 50}, {65, 50}, {66, 100}, {90, 50}};
    const double g = std::pow(50.0 * 50 * 100 * 50, 0.25);
    ExpectRow(FeatureRow({"SP PYRIMID01 PROD0"}, 100, strong66), {(g + 100) / 2});
    // PDSI: PROD0, PROD1, MEAN1, MEAN2 (all four present: MEAN1 = MEAN2 = mean 62.5).
    ExpectRow(FeatureRow({"SP pyrimid01"}, 100, strong66), {(g + 100) / 2, (g + 100) / 2, 81.25, 81.25});
    // Without offset: MP0.2 over 0, 0, 100, 0 = 25, with the bonus (25 + 100) / 2.
    ExpectRow(FeatureRow({"SP PYRIMID01 MP0.2"}, 100, {{66, 100}}), {62.5});
    // Logarithm without clamping, c = 1: log10(1 + 100) * 100 / log10(101) = 100 for mass 66 alone.
    ExpectRow(FeatureRow({"SP PYRIMID01 ML1"}, 100, {{66, 100}}), {62.5});
    // A spectrum ending at 65: 66 and 90 read 0, so no bonus; MEAN0 = (64 + 65) / 4 / 2.
    ExpectRow(FeatureRow({"SP PYRIMID01 MEAN0"}, 65, {{64, 40}, {65, 40}}), {10});
    // Unknown methods (MS has no fixed-group form) stay 0, bonus or not.
    ExpectRow(FeatureRow({"SP PYRIMID01 MS", "SP PYRIMID01 XYZ"}, 100, strong66), {0, 0});
}

TEST(PatternSimilarity, InPlaceScores)
{
    // Pattern 10:100, 11:50. Spectrum equal to the pattern: every score 100.
    ExpectRow(FeatureRow({"PPS p ALL 0 0 10 100 11 50"}, 50, {{10, 100}, {11, 50}}), Row(6, 100.0));

    // Spectrum 10:50, 11:100: sxy = 10000, syy = Sw = 12500, r = 0.8.
    const Peaks swapped{{10, 50}, {11, 100}};
    ExpectRow(FeatureRow({"PPS p ALL 0 0 10 100 11 50"}, 50, swapped),
              {80, 64, 100 - std::sqrt(5000.0) * 100 / std::sqrt(20000.0), 100 - 100.0 / 2, 50,
               // PURE: FIT 50 explains 50% of 150 pattern units among 150 found: 50.
               50});
    // r^3, and r times the largest matched intensity (raw, or through a power with a = 0.5).
    ExpectRow(FeatureRow({"PPS p COR3 0 0 10 100 11 50", "PPS p CORRAB 0 0 10 100 11 50",
                          "PPS p corrabp0.5 0 0 10 100 11 50", "PPS p CORRABS 0 0 10 100 11 50"},
                         50, swapped),
              {51.2, 80, 80, 80});

    // CITY and EUCL with one peak off by 20.
    ExpectRow(FeatureRow({"PPS p CITY 0 0 10 100 11 50", "PPS p EUCL 0 0 10 100 11 50"}, 50, {{10, 80}, {11, 50}}),
              {90, 100 - 20 * 100 / std::sqrt(20000.0)});
    // FIT: a missing pattern peak gives 0; a half-height one 50.
    ExpectRow(FeatureRow({"PPS p FIT 0 0 10 100 11 50"}, 50, {{10, 100}}), {0});
    ExpectRow(FeatureRow({"PPS p FIT 0 0 10 100 11 50"}, 50, {{10, 100}, {11, 25}}), {50});
    // PURE: 100 for any spectrum proportional to the pattern at its masses; foreign intensity
    // on top of a pattern peak lowers it: FIT 100 * 150 / (100 + 100) = 75.
    ExpectRow(FeatureRow({"PPS p PURE 0 0 10 100 11 50"}, 50, {{10, 50}, {11, 25}}), {100});
    ExpectRow(FeatureRow({"PPS p PURE 0 0 10 100 11 50"}, 50, {{10, 100}, {11, 100}}), {75});
    ExpectRow(FeatureRow({"PPS p PURE 0 0 10 100 11 50"}, 50, {}), {0});

    // Scores are never negative: CITY would be 100 - 300.
    ExpectRow(FeatureRow({"PPS p CITY 0 0 10 300"}, 50, {}), {0});
    // A spectrum without intensity at the pattern: no usable correlation.
    ExpectRow(FeatureRow({"PPS p CORR 0 0 10 100"}, 50, {{20, 100}}), {0});
    // Unknown methods and empty patterns give 0.
    ExpectRow(FeatureRow({"PPS p XYZ 0 0 10 100", "PPS p FIT 0 0"}, 50, {{10, 100}}), {0, 0});
}

TEST(PatternSimilarity, ShiftsAndTheSpectrumEnd)
{
    // The pattern 10:100, 11:50 slides from 20..21 to 39..40 and finds itself at 30..31.
    const Peaks shifted{{30, 100}, {31, 50}, {45, 100}};
    ExpectRow(FeatureRow({"PPS p EUCL 20 40 10 100 11 50", "PPS p CORR 20 40 10 100 11 50"}, 50, shifted), {100, 100});
    // The position at 45 lies outside the shift range.
    ExpectRow(FeatureRow({"PPS p CORR 20 40 10 100 11 50"}, 50, {{45, 100}, {46, 50}}), {0});
    // lo >= hi or lo < 1: compared in place.
    ExpectRow(FeatureRow({"PPS p CORR 40 20 10 100 11 50", "PPS p CORR 0 40 10 100 11 50"}, 50, shifted), {0, 0});
    // A range narrower than the pattern leaves no position at all.
    ExpectRow(FeatureRow({"PPS p FIT 1 2 10 100 20 50"}, 50, {{1, 100}}), {0});

    // The correlation stops at the first pattern mass beyond the spectrum; the distances read 0 there.
    const Peaks low{{10, 100}};
    ExpectRow(FeatureRow({"PPS p CORR 0 0 10 100 60 50", "PPS p EUCL 0 0 10 100 60 50"}, 50, low),
              {100 * 10000 / std::sqrt(12500.0 * 10000.0), 100 - 50 * 100 / std::sqrt(20000.0)});

    // A huge shift range ends with the spectrum.
    ExpectRow(FeatureRow({"PPS p CORR 1 2000000000 10 100 11 50"}, 50, shifted), {100});
}
