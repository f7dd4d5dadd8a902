#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ChemometricsTestSupport.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "chemometrics/CombinedSelection.h"
#include "chemometrics/FeatureSelection.h"

using namespace kiv;
using test::Rows;

namespace {

using Lines = std::vector<std::string>;

std::vector<int32_t> Index(const CMatrixI& m)
{
    return std::vector<int32_t>(m.Flat().begin(), m.Flat().end());
}

// Columns whose sample variances are 1, 4, 2 and 3 (rows -d, 0, d give d^2).
CDataSet VarianceSet()
{
    CDataSet set;
    const double d[] = {1.0, 2.0, std::sqrt(2.0), std::sqrt(3.0)};
    set.X.Alloc(3, 4);
    for (int j = 1; j <= 4; ++j) {
        set.X.Set(1, j, -d[j - 1]);
        set.X.Set(3, j, d[j - 1]);
    }
    set.XFeat = test::Sequence(4);
    return set;
}

}  // namespace

TEST(FeatureSelection, ConstantColumnsAllowNOtherValues)
{
    CDataSet set;
    set.X = Rows({{5, 5, 5, -3}, {5, 5, 5, -3}, {5, 5, 6, -3}, {5, 6, 7, -3}});
    set.XU = Rows({{1, 2, 3, 4}});
    set.XFeat = test::Sequence(4);
    CRecordingSession session;
    test::CScriptedPrompter prompter;
    // n = 1: columns 1 and 4 are constant, column 2 has one other value, column 3 two.
    EXPECT_EQ(SelectFeatures(set, 1, 1, 1, 0, 0, prompter, session), 1);
    EXPECT_EQ(session.log, (Lines{"Select X Constant:Delete 3 of 4 Features, 1 remaining "}));
    EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{3}));
    ASSERT_EQ(set.XU.Cols(), 1);
    EXPECT_EQ(set.XU.Get(1, 1), 3.0);
    EXPECT_EQ(set.X.Get(4, 1), 7.0);

    // n = 0 keeps a column with one other value; n = -1 does nothing and says nothing.
    set.X = Rows({{5, 5}, {5, 5}, {5, 5}, {5, 6}});
    set.XU.Free();
    set.XFeat = test::Sequence(2);
    session.log.clear();
    SelectFeatures(set, 1, 1, 0, 0, 0, prompter, session);
    EXPECT_EQ(session.log, (Lines{"Select X Constant:Delete 1 of 2 Features, 1 remaining "}));
    EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{2}));
    session.log.clear();
    EXPECT_EQ(SelectFeatures(set, 1, 1, -1, 0, 0, prompter, session), 1);
    EXPECT_TRUE(session.log.empty());

    // Values within the relative band of 1e-12 count as equal.
    set.X = Rows({{1e6}, {1e6 * (1 + 1e-13)}, {1e6}});
    SelectFeatures(set, 1, 1, 0, 0, 0, prompter, session);
    EXPECT_EQ(set.X.Cols(), 0);
}

TEST(FeatureSelection, ConstantPromptAsksWhenTheOptionIsBelowMinusOne)
{
    CDataSet set;
    set.Y = Rows({{1, 2}, {1, 3}});
    CRecordingSession session;
    test::CScriptedPrompter prompter;
    prompter.Answer("0");
    SelectFeatures(set, 2, 1, kAskOption, kAskOption, kAskThreshold, prompter, session);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].prompt,
              "Y Feature Selection\n2 Objects   2 Features\nRemove constant Features\n"
              "Remove Features only n non-constant values.\nn = 0, 1, ...\nn = -1 ... do not remove Features\n");
    EXPECT_EQ(prompter.prompts[0].valueText, "-1");
    ASSERT_EQ(prompter.prompts[0].presets.size(), 6u);
    EXPECT_EQ(prompter.prompts[0].presets[5].caption, "constant");
    EXPECT_EQ(session.log, (Lines{"Select Y Constant:Delete 1 of 2 Features, 1 remaining "}));
    EXPECT_EQ(SelectFeatures(set, 3, 1, 0, 0, 0, prompter, session), 0);
    EXPECT_EQ(SelectFeatures(set, 1, 4, 0, 0, 0, prompter, session), 0);
}

TEST(FeatureSelection, VarianceOptions)
{
    test::CScriptedPrompter prompter;
    {
        CDataSet set = VarianceSet();
        CRecordingSession session;
        SelectFeatures(set, 1, 2, 0, 2, 0, prompter, session);
        EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{2, 4}));
        EXPECT_EQ(session.log, (Lines{"Select X Variance:Delete 2 of 4 Features, 2 remaining "}));
    }
    {
        CDataSet set = VarianceSet();
        CRecordingSession session;
        SelectFeatures(set, 1, 2, 2, 0, 50, prompter, session);
        EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{2, 4}));
        EXPECT_EQ(session.log, (Lines{"Select X Variance:Delete 2 of 4 Features, 2 remaining ,  70.00%var remaining"}));
    }
    {
        CDataSet set = VarianceSet();
        CRecordingSession session;
        SelectFeatures(set, 1, 2, 1, 0, 2.5, prompter, session);
        EXPECT_EQ(Index(set.XFeat), (std::vector<int32_t>{2, 4}));
        // Option 0 with n of 0 keeps everything, as does option -1.
        SelectFeatures(set, 1, 2, 0, 0, 0, prompter, session);
        SelectFeatures(set, 1, 2, -1, 0, 0, prompter, session);
        EXPECT_EQ(session.log[1], "Select X Variance: No Features to delete, 2 remaining");
        EXPECT_EQ(session.log[2], "Select X Variance: No Features to delete, 2 remaining");
        // A target above the total takes every column.
        SelectFeatures(set, 1, 2, 2, 0, 150, prompter, session);
        EXPECT_EQ(session.log[3], "Select X Variance: No Features to delete, 2 remaining");
    }
    {
        // Asked: the option prompt shows the statistics of the variances; a cancelled
        // parameter prompt removes nothing.
        CDataSet set = VarianceSet();
        CRecordingSession session;
        prompter.Answer("2");
        prompter.answers.push_back({false, ""});
        SelectFeatures(set, 1, 2, kAskOption, kAskOption, kAskThreshold, prompter, session);
        ASSERT_EQ(prompter.prompts.size(), 2u);
        EXPECT_EQ(prompter.prompts[0].prompt,
                  "X Feature Selection\n3 Objects   4 Features\nVariance of Features sum=10.000 mean=2.500 var=1.667 "
                  "min=1.000 max=4.000\nRemove Features with low Variance\n 0\tselect n Features with highest "
                  "Variance\n 1\tselect Features with Variance v or higher\n 2\tselect Features with Sum of "
                  "Variance s or higher\n-1\tdo not remove Features\n");
        EXPECT_EQ(prompter.prompts[1].prompt,
                  "Select Features with highest Variance\nwith Sum of Variance s or higher\nEnter s in %:");
        EXPECT_EQ(set.X.Cols(), 4);
    }
}

TEST(FeatureSelection, CorrelatedPairs)
{
    // e1, e2, e3 are orthogonal centred columns; column 3 = e1 + 0.3 e3 correlates with column 1
    // at 0.958.
    const double e1[] = {1, 1, -1, -1}, e2[] = {1, -1, 1, -1}, e3[] = {1, -1, -1, 1};
    test::CScriptedPrompter prompter;
    for (double mix : {0.0, 0.5}) {
        CDataSet set;
        set.X.Alloc(4, 3);
        for (int i = 0; i < 4; ++i) {
            set.X.Set(i + 1, 1, e1[i]);
            set.X.Set(i + 1, 2, e2[i] + mix * e3[i]);
            set.X.Set(i + 1, 3, e1[i] + 0.3 * e3[i]);
        }
        set.XFeat = test::Sequence(3);
        CRecordingSession session;
        SelectFeatures(set, 1, 3, 0, 0, 0.9, prompter, session);
        EXPECT_EQ(session.log, (Lines{"Select X Correlation:Delete 1 of 3 Features, 2 remaining "}));
        // Equal sums of correlations drop the first column of the pair; otherwise the one with
        // the larger sum goes (column 3 also correlates a little with column 2).
        EXPECT_EQ(Index(set.XFeat), mix == 0.0 ? (std::vector<int32_t>{2, 3}) : (std::vector<int32_t>{1, 2}));
    }
    // Strong negative correlation never qualifies; an empty matrix has nothing to delete.
    CDataSet set;
    set.X = Rows({{1, -1}, {2, -2}, {3, -3}});
    CRecordingSession session;
    SelectFeatures(set, 1, 3, 0, 0, 0.9, prompter, session);
    EXPECT_EQ(set.X.Cols(), 2);
    set.X.Free();
    SelectFeatures(set, 1, 3, 0, 0, 0.9, prompter, session);
    SelectFeatures(set, 1, 2, 2, 0, 50, prompter, session);
    EXPECT_EQ(session.log[1], "Select X Correlation: No Features to delete, 0 remaining");
    EXPECT_EQ(session.log[2], "Select X Variance: No Features to delete, 0 remaining");
}

TEST(FeatureSelection, CombinedConstantAndVariance)
{
    CDataSet set = VarianceSet();
    set.X.AppendCols(Rows({{7}, {7}, {7}}));
    set.XFeat = test::Sequence(5);
    std::vector<std::string> names = {"a", "b", "c", "d", "e"};
    CRecordingSession session;
    test::CScriptedPrompter prompter;
    prompter.Answer("0");  // constant
    prompter.Answer("0");  // n highest
    prompter.Answer("3");
    CombinedSelection(set, DataMatrix::X, names, prompter, session);
    EXPECT_EQ(session.log, (Lines{"Constant Features: Delete 1 of 5 Features, 4 remaining",
                                  "Variance: Delete 1 of 4 Features, 3  90.00%var remaining", "Selected X Features",
                                  "#000001 F000002 b", "#000002 F000003 c", "#000003 F000004 d"}));

    test::CRecordingReporter reporter;
    session.log.clear();
    prompter.Answer("-1");
    prompter.Answer("2");
    prompter.Answer("200");
    CombinedSelection(set, DataMatrix::X, names, prompter, session);
    EXPECT_EQ(session.log[0], "Constant Features: No Features to delete, 3 remaining");
    EXPECT_EQ(session.log[1], "Variance: No Features to delete, 3 fremaining");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Sum of Variance too high!");
}

TEST(FeatureSelection, TenThousandColumns)
{
    CDataSet set;
    set.X.Alloc(6, 10000);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 10000; ++j) set.X.Set(i, j, j % 3 == 0 ? 1.0 : std::sin(i * j));
    set.XFeat = test::Sequence(10000);
    CRecordingSession session;
    test::CScriptedPrompter prompter;
    SelectFeatures(set, 1, 1, 0, 0, 0, prompter, session);
    EXPECT_EQ(set.X.Cols(), 10000 - 3333);
    SelectFeatures(set, 1, 2, 0, 100, 0, prompter, session);
    EXPECT_EQ(set.X.Cols(), 100);
    EXPECT_EQ(set.XFeat.Cols(), 100);
}
