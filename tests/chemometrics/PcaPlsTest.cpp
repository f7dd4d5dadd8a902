#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ChemometricsTestSupport.h"
#include "TestSupport.h"
#include "base/Format.h"
#include "base/Session.h"
#include "chemometrics/Centring.h"
#include "chemometrics/DataBuilders.h"
#include "chemometrics/Pca.h"
#include "chemometrics/Pls.h"

using namespace kiv;
using test::Rows;

namespace {

using Lines = std::vector<std::string>;

class CPlotRecorder : public CScorePlots {
public:
    void ShowScatter(int plot, const std::string& source, int x, int y) override
    {
        shown.push_back(Format("%d %s %d %d", plot, source.c_str(), x, y));
    }
    Lines shown;
};

CMatrixNumerics Random(int rows, int cols, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal;
    CMatrixNumerics a(rows, cols);
    for (double& v : a.Flat()) v = normal(random);
    return a;
}

void ExpectSameUpToSign(const CMatrix& a, const CMatrix& b, double tolerance)
{
    ASSERT_EQ(a.Rows(), b.Rows());
    ASSERT_EQ(a.Cols(), b.Cols());
    for (int j = 1; j <= a.Cols(); ++j) {
        double dot = 0;
        for (int i = 1; i <= a.Rows(); ++i) dot += a.Get(i, j) * b.Get(i, j);
        const double sign = dot < 0 ? -1.0 : 1.0;
        for (int i = 1; i <= a.Rows(); ++i) EXPECT_NEAR(a.Get(i, j), sign * b.Get(i, j), tolerance) << i << "," << j;
    }
}

}  // namespace

TEST(Pca, FewerObjectsThanFeatures)
{
    CDataSet set;
    set.X = Random(3, 5, 1);
    set.XU = Random(2, 5, 2);
    const CMatrixNumerics rawXU = set.XU;
    CRecordingSession session;
    CPlotRecorder plots;
    PcaCommand(set, DataMatrix::X, session, &plots);
    EXPECT_EQ(set.XLoadings.Rows(), 5);
    EXPECT_EQ(set.XLoadings.Cols(), 3);
    EXPECT_EQ(set.XScores.Rows(), 3);
    EXPECT_EQ(set.XScores.Cols(), 3);
    EXPECT_EQ(set.XSingular.Cols(), 3);
    EXPECT_EQ(set.XUScores.Rows(), 2);
    EXPECT_EQ(session.status, (Lines{"Calculating PCA ...", "PCA done"}));
    EXPECT_EQ(plots.shown, (Lines{"1 X Scores 1 2"}));
    // Three centred objects span two dimensions: two table lines, summing to 100 %.
    ASSERT_EQ(session.log.size(), 4u);
    EXPECT_EQ(session.log[0], "X Loadings 5 x 3");
    EXPECT_EQ(session.log[1], "X PCA - Variance - Singular Values");
    // Scores are U diag(w): their column variances are w^2 / (m - 1), the third is empty.
    EXPECT_NEAR(set.XSingular.GetFlat(3), 0.0, 1e-12);
    CMatrixNumerics means, variances;
    set.XScores.ColMeanVar(means, variances);
    for (int k = 1; k <= 3; ++k) EXPECT_NEAR(variances.GetFlat(k), std::pow(set.XSingular.GetFlat(k), 2) / 2, 1e-12);

    // Again: the same scores, and the unknowns were shifted by the means exactly once.
    const CMatrixNumerics scores = set.XScores;
    PcaCommand(set, DataMatrix::X, session, &plots);
    ExpectSameUpToSign(set.XScores, scores, 1e-12);
    for (int j = 1; j <= 5; ++j) EXPECT_NEAR(set.XU.Get(1, j), rawXU.Get(1, j) - set.XMean.GetFlat(j), 1e-15);
}

TEST(Pca, VarianceTable)
{
    // Rank 1: one line with all the variance.
    CDataSet set;
    set.Y = Rows({{1, 2, 3}, {2, 4, 6}, {3, 6, 9}, {5, 10, 15}});
    CRecordingSession session;
    PcaCommand(set, DataMatrix::Y, session, nullptr);
    EXPECT_EQ(session.status, (Lines{"Calculating Y PCA ...", "PCA done"}));
    ASSERT_EQ(session.log.size(), 2u);
    EXPECT_EQ(session.log[0], "Y PCA - Variance - Singular Values");
    EXPECT_EQ(session.log[1], Format("  1:    100.000000 %13.6f", set.YSingular.GetFlat(1)));

    // No variance at all (one object, or constant columns): no line.
    for (const CMatrixNumerics& x : {Rows({{1, 2, 3}}), Rows({{4, 4}, {4, 4}})}) {
        CDataSet flat;
        flat.X = x;
        CRecordingSession log;
        PcaCommand(flat, DataMatrix::X, log, nullptr);
        EXPECT_EQ(log.log.size(), 2u);
    }
    // Empty X: empty results and table.
    CDataSet empty;
    CRecordingSession emptyLog;
    PcaCommand(empty, DataMatrix::X, emptyLog, nullptr);
    EXPECT_EQ(empty.XScores.Rows(), 0);
    EXPECT_EQ(emptyLog.log, (Lines{"X Loadings 0 x 0", "X PCA - Variance - Singular Values"}));
}

TEST(Pca, BadValuesAndWideMatrices)
{
    test::CRecordingReporter reporter;
    CDataSet set;
    set.X = Random(20, 8, 3);
    set.X.Set(4, 4, std::numeric_limits<double>::quiet_NaN());
    CRecordingSession session;
    PcaCommand(set, DataMatrix::X, session, nullptr);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(session.log.size(), 2u);  // the table stops at once

    // 10,000 features of 12 objects: 12 components from the small side of the decomposition.
    reporter.messages.clear();
    CDataSet wide;
    wide.X = Random(12, 10000, 4);
    PcaCommand(wide, DataMatrix::X, session, nullptr);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(wide.XLoadings.Rows(), 10000);
    EXPECT_EQ(wide.XLoadings.Cols(), 12);
    const CMatrix gram = wide.XLoadings.Tx(wide.XLoadings);
    for (int i = 1; i <= 11; ++i) EXPECT_NEAR(gram.Get(i, i), 1.0, 1e-10);
}

TEST(Pls, OneYColumnPredictsLikeRegressionOnTheFirstScore)
{
    CDataSet set;
    set.X = Random(10, 4, 5);
    set.Y = Random(10, 1, 6);
    set.XU = Random(3, 4, 7);
    const CMatrixNumerics x = set.X, y = set.Y;
    CRecordingSession session;
    CPlotRecorder plots;
    PlsCommand(set, session, &plots);
    EXPECT_EQ(session.log, (Lines{"X 10 x 4", "Y 10 x 1", "a = 1"}));
    EXPECT_EQ(session.status, (Lines{"Calculating PLS ...", "PLS done"}));
    EXPECT_EQ(plots.shown, (Lines{"1 X Scores 1 2", "2 Y Scores 1 2"}));
    ASSERT_EQ(set.YPred.Rows(), 10);
    ASSERT_EQ(set.YPred.Cols(), 1);
    EXPECT_EQ(set.YUPred.Rows(), 3);

    // Independently: w = X^T y / |X^T y|, t = X w, b = t^T y / t^T t (both centred). The Y
    // weight of a single column is +-1, so b t equals the prediction up to that sign.
    CDataSet centred;
    centred.X = x;
    centred.Y = y;
    CentreX(centred);
    CentreY(centred);
    CMatrixNumerics w = centred.X.Tx(centred.Y);
    w = w * (1.0 / std::sqrt(w.Tx(w).GetFlat(1)));
    const CMatrixNumerics t = centred.X * w;
    const double b = t.Tx(centred.Y).GetFlat(1) / t.Tx(t).GetFlat(1);
    const double yWeight = set.YLoadings.GetFlat(1);
    EXPECT_NEAR(std::fabs(yWeight), 1.0, 1e-15);
    for (int i = 1; i <= 10; ++i) EXPECT_NEAR(set.YPred.Get(i, 1) * yWeight, b * t.Get(i, 1), 1e-12);
    // YPred is b_1 times the X scores.
    for (int i = 1; i <= 10; ++i) EXPECT_DOUBLE_EQ(set.YPred.Get(i, 1), set.XScores.Get(i, 1) * set.YPred.Get(1, 1) / set.XScores.Get(1, 1));
    // The singular values are those of X^T Y Y^T X.
    const CMatrixNumerics a = centred.X.Tx(centred.Y).xT(centred.X.Tx(centred.Y));
    CMatrixNumerics u, values, v;
    a.Svd(u, values, v);
    EXPECT_NEAR(set.XSingular.GetFlat(1), values.GetFlat(1), 1e-10 * values.GetFlat(1));
}

TEST(Pls, ManyPropertiesAndMissingData)
{
    CDataSet set;
    set.X = Random(30, 6, 8);
    set.Y = set.X * Random(6, 4, 9);
    CRecordingSession session;
    PlsCommand(set, session, nullptr);
    EXPECT_EQ(session.log[2], "a = 4");
    EXPECT_EQ(set.XLoadings.Rows(), 6);
    EXPECT_EQ(set.YLoadings.Rows(), 4);
    EXPECT_EQ(set.YPred.Cols(), 4);
    // The Y weights are orthonormal, the X scores of the components uncorrelated only in
    // general; the inner relation reproduces the Y scores where they are explained.
    const CMatrix gram = set.YLoadings.Tx(set.YLoadings);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(gram.Get(i, i), 1.0, 1e-12);

    // 10,000 features: the model comes from the 10,000 x 3 cross-product, not from a
    // 10,000 x 10,000 matrix.
    CDataSet wide;
    wide.X = Random(8, 10000, 10);
    wide.Y = Random(8, 3, 11);
    PlsCommand(wide, session, nullptr);
    EXPECT_EQ(wide.XLoadings.Rows(), 10000);
    EXPECT_EQ(wide.XLoadings.Cols(), 3);
    EXPECT_EQ(wide.YPred.Cols(), 3);

    // A value that is not a number is reported once by the decomposition and spreads into the
    // results; a constant X has no X scores and reports the singular inner relation.
    {
        test::CRecordingReporter reporter;
        CDataSet bad;
        bad.X = Random(6, 3, 12);
        bad.X.Set(2, 2, std::numeric_limits<double>::infinity());
        bad.Y = Random(6, 2, 13);
        PlsCommand(bad, session, nullptr);
        EXPECT_EQ(reporter.messages.size(), 1u);
        reporter.messages.clear();
        CDataSet flat;
        flat.X = Rows({{1, 2}, {1, 2}, {1, 2}});
        flat.Y = Rows({{1}, {2}, {4}});
        PlsCommand(flat, session, nullptr);
        ASSERT_FALSE(reporter.messages.empty());
        EXPECT_EQ(reporter.messages[0], "gaussj: Singular Matrix");
    }

    // No rows in X or Y: nothing happens.
    CDataSet empty;
    empty.Y = Random(3, 2, 1);
    CRecordingSession quiet;
    PlsCommand(empty, quiet, nullptr);
    EXPECT_TRUE(quiet.log.empty());
    EXPECT_EQ(quiet.status, (Lines{"Calculating PLS ..."}));
}

TEST(Centring, StoredMeansAndAutoscaling)
{
    CDataSet set;
    set.X = Rows({{1, 10}, {3, 10}, {5, 40}});
    set.XU = Rows({{2, 20}});
    CRecordingSession session;
    Autoscale(set, DataMatrix::X, session);
    EXPECT_EQ(session.log, (Lines{"X autoscaled: 2 Features"}));
    EXPECT_DOUBLE_EQ(set.X.Get(1, 1), -1.0);
    EXPECT_DOUBLE_EQ(set.XU.Get(1, 1), -0.5);
    EXPECT_DOUBLE_EQ(set.XMean.GetFlat(2), 20.0);
    Autoscale(set, DataMatrix::X, session);
    EXPECT_EQ(session.log[1], "X already autoscaled");
    // Taking the centring back gives the raw values of data and unknowns.
    Uncentre(set, DataMatrix::X);
    EXPECT_NEAR(set.X.Get(3, 2), 40.0, 1e-12);
    EXPECT_NEAR(set.XU.Get(1, 2), 20.0, 1e-12);
    EXPECT_EQ(set.XMean.Cols(), 0);
    EXPECT_EQ(set.XScale.Cols(), 0);
}

TEST(Centring, SelectedSpectraJoinTheCentredModel)
{
    CBib bib;
    bib.run.msm = Rows({{1, 2}, {3, 4}, {5, 9}});
    bib.run.msmComputed = 1;
    CDataSet set;
    CRecordingSession session;
    UseBibSpectraX(set, bib, session);
    EXPECT_EQ(session.log, (Lines{"Data Matrix 3 x 2 generated from BIB MS"}));
    std::vector<int32_t> feat(set.XFeat.Flat().begin(), set.XFeat.Flat().end());
    EXPECT_EQ(feat, (std::vector<int32_t>{-1, -2}));
    PcaCommand(set, DataMatrix::X, session, nullptr);
    const CMatrixNumerics scores = set.XScores;
    // The selected rows are centred with the stored means at once: their scores are the same.
    bib.selection.InsertSorted(1);
    bib.selection.InsertSorted(3);
    UseSelectedBibSpectraX(set, bib, session);
    EXPECT_DOUBLE_EQ(set.XMean.GetFlat(2), 5.0);
    EXPECT_DOUBLE_EQ(set.X.Get(2, 2), 4.0);
    PcaCommand(set, DataMatrix::X, session, nullptr);
    EXPECT_DOUBLE_EQ(set.XMean.GetFlat(2), 5.0);

    // Without an MSM the selection command refuses.
    test::CRecordingReporter reporter;
    CBib noRun;
    UseSelectedBibSpectraX(set, noRun, session);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Calculate MSM");
}
