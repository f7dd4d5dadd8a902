#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "FeatureTestSupport.h"
#include "TestSupport.h"
#include "features/FeatureDefinitionSet.h"

using namespace kiv;
using namespace kiv::test;

namespace {

bool SameElements(const CMatrix& a, const CMatrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols()) return false;
    for (int i = 1; i <= a.Rows(); ++i) {
        for (int j = 1; j <= a.Cols(); ++j) {
            if (a.Get(i, j) != b.Get(i, j)) return false;
        }
    }
    return true;
}

}  // namespace

TEST(FeatureEngine, SciStartsFromTheInputAndRestoresIt)
{
    // Two spectra over masses 1..3.
    CMatrix s = MakeSpectra(3, {{{1, 100}, {2, 60}, {3, 10}}, {{1, 40}, {2, 100}}});
    const CMatrix input = s;
    FeatureDefinitionSet set = FirstPass({"SCI 20 1 0 N", "IM 1-3", "SCI 0 2 0 N", "IM 1-3", "SCI 0 1 1 M", "IM 1-3"}, s);
    EXPECT_TRUE(SameElements(s, input));
    ASSERT_EQ(set.features.Cols(), 9);
    // Threshold 20: (x - 20) * 100 / 80, so 100 -> 100, 60 -> 50, 10 -> 0.
    EXPECT_DOUBLE_EQ(set.features.Get(1, 1), 100);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 2), 50);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 3), 0);
    // Squares of the input, not of the thresholded values (which would give 2500 for mass 2).
    EXPECT_DOUBLE_EQ(set.features.Get(1, 4), 10000);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 5), 3600);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 6), 100);
    // x * m, renormalised: spectrum 1 gives 100, 120, 30 -> 83.33, 100, 25.
    EXPECT_DOUBLE_EQ(set.features.Get(1, 7), 100.0 / 120.0 * 100.0);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 8), 100);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 9), 30.0 / 120.0 * 100.0);
    // Spectrum 2: 40, 200, 0 -> 20, 100, 0.
    EXPECT_DOUBLE_EQ(set.features.Get(2, 7), 20);
    EXPECT_DOUBLE_EQ(set.features.Get(2, 8), 100);

    // A negative threshold only cuts: intensities below 50 vanish.
    std::vector<double> row = FeatureRow({"SCI -50 1 0 N", "IM 1-3"}, 3, {{1, 100}, {2, 60}, {3, 10}});
    EXPECT_EQ(row, (std::vector<double>{100, 60, 0}));
    // "SCI 0 1 0 N" changes nothing; a plain "SCI" renormalises to a base peak of 100.
    EXPECT_EQ(FeatureRow({"SCI 0 1 0 N", "IM 1-2"}, 2, {{1, 50}, {2, 25}}), (std::vector<double>{50, 25}));
    EXPECT_EQ(FeatureRow({"SCI", "IM 1-2"}, 2, {{1, 50}, {2, 25}}), (std::vector<double>{100, 50}));
}

TEST(FeatureEngine, FirstPassBookkeeping)
{
    CMatrix s = MakeSpectra(10, {{{5, 100}}, {{6, 100}}});
    // Only transformation lines: no features at all.
    FeatureDefinitionSet only = FirstPass({"SCI", "SCI 10 1 0 M"}, s);
    EXPECT_EQ(only.features.Rows(), 0);
    EXPECT_EQ(only.features.Cols(), 0);
    EXPECT_EQ(only.featureCount, 0);
    EXPECT_EQ(only.state, 1);

    FeatureDefinitionSet set = FirstPass({"IM 5,6", "// note", "MD 2 1 10"}, s);
    EXPECT_EQ(set.featureCount, 4);
    EXPECT_EQ(set.rowCount, 2);
    EXPECT_EQ(set.state, 0);
    EXPECT_EQ(set.names, (std::vector<std::string>{"IM 5 5", "IM 6 6", "MD 2 1 1 10 0", "MD 2 2 1 10 0"}));
    EXPECT_DOUBLE_EQ(set.features.Get(1, 1), 100);
    EXPECT_DOUBLE_EQ(set.features.Get(2, 2), 100);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 3), 100);  // 5 mod 2 = 1
    EXPECT_DOUBLE_EQ(set.features.Get(2, 4), 100);  // 6 mod 2 = 0 -> residue 2

    // Changing the lines is noticed before the next pass.
    set.lines = {"IM 5"};
    set.ComputeFeatures(s, 0);
    EXPECT_EQ(set.names, (std::vector<std::string>{"IM 5 5"}));
    EXPECT_EQ(set.featureCount, 1);
    set.lines[0] = "IM 6";  // edited in place
    set.ComputeFeatures(s, 0);
    EXPECT_EQ(set.names, (std::vector<std::string>{"IM 6 6"}));
    EXPECT_DOUBLE_EQ(set.features.Get(2, 1), 100);

    // An empty block still names the features but leaves the counts alone.
    CMatrix none;
    set.ComputeFeatures(none, 0);
    EXPECT_EQ(set.names.size(), 1u);
    EXPECT_EQ(set.features.Rows(), 0);
}

TEST(FeatureEngine, RowPassesFillTheMatrix)
{
    FeatureDefinitionSet set;
    set.lines = {"IM 1,2"};
    CMatrix first = MakeSpectra(2, {{{1, 10}}});
    set.ComputeFeatures(first, 0);
    set.ResizeFeatures(3, 0);
    ASSERT_EQ(set.features.Rows(), 3);
    ASSERT_EQ(set.features.Cols(), 2);
    for (int r = 1; r <= 3; ++r) {
        CMatrix s = MakeSpectra(2, {{{1, 10.0 * r}, {2, 1.0 * r}}});
        set.ComputeFeatures(s, r);
    }
    EXPECT_DOUBLE_EQ(set.features.Get(3, 1), 30);
    EXPECT_DOUBLE_EQ(set.features.Get(2, 2), 2);
    EXPECT_EQ(set.names.size(), 2u);

    // A block of two spectra into rows 2..3; the old values of those rows are replaced.
    CMatrix block = MakeSpectra(2, {{{2, 7}}, {{1, 8}}});
    set.ComputeFeatures(block, 2);
    EXPECT_DOUBLE_EQ(set.features.Get(2, 1), 0);
    EXPECT_DOUBLE_EQ(set.features.Get(2, 2), 7);
    EXPECT_DOUBLE_EQ(set.features.Get(3, 1), 8);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 1), 10);

    // Beyond the end: reported, and nothing changes.
    const CMatrix before = set.features;
    CRecordingReporter reporter;
    set.ComputeFeatures(block, 4);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Feature Matrix is too small!"});
    EXPECT_TRUE(SameElements(set.features, before));
    // A block that only starts inside the matrix fills what fits, without a message.
    set.ComputeFeatures(block, 3);
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_DOUBLE_EQ(set.features.Get(3, 2), 7);

    set.ResizeFeatures(0, 5);
    EXPECT_EQ(set.state, 1);
    EXPECT_EQ(set.featureCount, 0);
    EXPECT_TRUE(set.names.empty());
}

TEST(FeatureEngine, MessagesRepeatOnEveryCallInLineOrder)
{
    FeatureDefinitionSet set;
    set.lines = {"TYP DUST", "IM 5", "PG grp"};
    CMatrix s = MakeSpectra(10, {{{5, 100}}});
    CRecordingReporter reporter;
    set.ComputeFeatures(s, 0);
    set.ResizeFeatures(2, 0);
    set.ComputeFeatures(s, 1);
    const std::vector<std::string> once{"TYP: ml not found!", "TYP: mh not found!", "subname: sub string not found!",
                                        "MassMenu: sub string not found!"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(reporter.messages, twice);
}

TEST(FeatureEngine, QuantisationTo256Levels)
{
    FeatureDefinitionSet set;
    set.featureQuantisation = 10;
    set.lines = {"IM 1-4", "SCI 0 1 0 N", "MD 1 1 4"};
    CMatrix s = MakeSpectra(4, {{{1, 50}, {2, 100}, {4, 0.2}}});
    set.ComputeFeatures(s, 0);
    const double step = 0.3921568627450981;
    EXPECT_DOUBLE_EQ(set.features.Get(1, 1), 128 * step);  // 50 * 2.55 = 127.5 rounds up
    EXPECT_DOUBLE_EQ(set.features.Get(1, 2), 255 * step);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 3), 0);
    EXPECT_DOUBLE_EQ(set.features.Get(1, 4), 1 * step);  // 0.2 * 2.55 = 0.51
    EXPECT_DOUBLE_EQ(set.features.Get(1, 5), 383 * step);  // the sum 150.2: 383.01 levels, no clipping
    // The input is untouched: quantisation applies to feature values only.
    EXPECT_DOUBLE_EQ(s.Get(1, 4), 0.2);
}
