#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "ChemometricsTestSupport.h"
#include "ScriptedPrompter.h"
#include "base/Format.h"
#include "base/Session.h"
#include "chemometrics/CrossValidation.h"
#include "chemometrics/Distributions.h"
#include "chemometrics/Pca.h"
#include "chemometrics/PcaDiagnostics.h"
#include "chemometrics/Pls.h"

using namespace kiv;

namespace {

CMatrixNumerics Random(int rows, int cols, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal;
    CMatrixNumerics a(rows, cols);
    for (double& v : a.Flat()) v = normal(random);
    return a;
}

}  // namespace

TEST(Distributions, IncompleteBetaAndFQuantiles)
{
    // I_0.4(2, 3) = P(at least 2 of 4 trials succeed with p = 0.4).
    EXPECT_NEAR(IncompleteBeta(2, 3, 0.4), 0.5248, 1e-13);
    EXPECT_EQ(IncompleteBeta(2, 3, 0), 0.0);
    EXPECT_EQ(IncompleteBeta(2, 3, 1), 1.0);
    // Table values of the F distribution.
    EXPECT_NEAR(FQuantile(0.95, 2, 10), 4.102821015130399, 1e-9);
    EXPECT_NEAR(FQuantile(0.95, 1, 20), 4.351243503, 1e-8);
    EXPECT_NEAR(FQuantile(0.95, 5, 100), 2.305318241675225, 1e-9);
    EXPECT_TRUE(std::isnan(FQuantile(0.95, 0, 10)));
}

TEST(CrossValidation, FoldsAndExactModels)
{
    EXPECT_EQ(FoldBounds(10, 3), (std::vector<int>{0, 4, 7, 10}));
    EXPECT_EQ(FoldBounds(4, 4), (std::vector<int>{0, 1, 2, 3, 4}));

    // y = 3x + 1 is predicted exactly by one component from any training set.
    CMatrixNumerics x = Random(12, 1, 1);
    CMatrixNumerics y(12, 1);
    for (int i = 1; i <= 12; ++i) y.Set(i, 1, 3 * x.Get(i, 1) + 1);
    const CMatrixNumerics table = PlsCrossValidation(x, y, 12);
    ASSERT_EQ(table.Rows(), 1);
    EXPECT_LT(table.Get(1, 2), 1e-12);
    EXPECT_NEAR(table.Get(1, 3), 1.0, 1e-12);

    // Too few objects or rows that do not match give no table.
    EXPECT_EQ(PlsCrossValidation(Random(2, 3, 2), Random(2, 1, 3), 2).Rows(), 0);
    EXPECT_EQ(PlsCrossValidation(Random(8, 3, 2), Random(7, 1, 3), 2).Rows(), 0);
}

TEST(CrossValidation, CommandLogsTableAndSuggestion)
{
    CDataSet set;
    set.X = Random(20, 5, 4);
    set.Y = set.X * Random(5, 3, 5);
    for (double& v : set.Y.Flat()) v += 0.01;
    CRecordingSession session;
    test::CScriptedPrompter prompter;
    prompter.Answer("4");
    PlsCrossValidationCommand(set, -1, prompter, session);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    ASSERT_EQ(set.CrossValidation.Rows(), 3);
    ASSERT_EQ(session.log.size(), 6u);
    EXPECT_EQ(session.log[0], "PLS Cross-Validation 4 groups");
    EXPECT_EQ(session.log[1], "  a        RMSECV            Q2");
    EXPECT_EQ(session.log[5], "Suggested number of components: " + std::to_string(SuggestedComponents(set.CrossValidation)));
    // More components explain more of a Y that depends on three directions of X.
    EXPECT_LT(set.CrossValidation.Get(3, 2), set.CrossValidation.Get(1, 2));
    EXPECT_EQ(SuggestedComponents(set.CrossValidation), 3);

    CDataSet empty;
    PlsCrossValidationCommand(empty, 0, prompter, session);
    EXPECT_EQ(session.log.back(), "PLS Cross-Validation needs X and Y with the same objects, at least 3");
}

TEST(PcaDiagnostics, SumsAndLimits)
{
    CDataSet set;
    set.X = Random(15, 6, 6);
    set.XU = Random(2, 6, 7);
    CRecordingSession session;
    PcaCommand(set, DataMatrix::X, session, nullptr);
    test::CScriptedPrompter prompter;
    session.log.clear();
    PcaDiagnosticsCommand(set, 2, prompter, session);
    ASSERT_EQ(set.PcaDiagnostics.Rows(), 17);
    // Over the objects, T^2 sums to A (m - 1) and Q to the variance left out (sum of w_j^2).
    double t2 = 0, q = 0, leftOut = 0;
    for (int i = 1; i <= 15; ++i) {
        t2 += set.PcaDiagnostics.Get(i, 1);
        q += set.PcaDiagnostics.Get(i, 2);
    }
    for (int j = 3; j <= 6; ++j) leftOut += set.XSingular.GetFlat(j) * set.XSingular.GetFlat(j);
    EXPECT_NEAR(t2, 2 * 14.0, 1e-9);
    EXPECT_NEAR(q, leftOut, 1e-9);
    EXPECT_EQ(session.log[0], "PCA X T2 and Q, 2 components");
    const double t2Limit = 2 * 14.0 / 13.0 * FQuantile(0.95, 2, 13);
    const std::string limitText = Format("T2 limit 95%%: %13.6f", t2Limit);
    EXPECT_EQ(session.log[1].substr(0, limitText.size()), limitText);
    EXPECT_EQ(session.log.size(), 3u + 17u);
    EXPECT_EQ(session.log[19].substr(0, 6), "U   2:");

    // All components: nothing is left out, Q is 0 and so is its limit.
    const PcaDiagnosticsResult all =
        ComputePcaDiagnostics(set.X, set.XScores, set.XLoadings, set.XSingular, set.XU, set.XUScores, 6);
    EXPECT_NEAR(all.values.Get(3, 2), 0.0, 1e-20 + 1e-12);
    EXPECT_EQ(all.qLimit, 0.0);

    CDataSet none;
    PcaDiagnosticsCommand(none, 2, prompter, session);
    EXPECT_EQ(session.log.back(), "PCA T2 and Q: run PCA X first");
    // The X scores of a PLS model are no PCA model.
    set.Y = Random(15, 2, 8);
    PlsCommand(set, session, nullptr);
    session.log.clear();
    PcaDiagnosticsCommand(set, 2, prompter, session);
    EXPECT_EQ(session.log, (std::vector<std::string>{"PCA T2 and Q: run PCA X first"}));
}
