#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "matrix/MatrixNumerics.h"

using namespace kiv;

namespace {

CMatrixNumerics Rows(std::initializer_list<std::initializer_list<double>> rows)
{
    CMatrixNumerics m(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (double v : row) m.Set(i, j++, v);
        ++i;
    }
    return m;
}

CMatrixNumerics Vector(std::initializer_list<double> values)
{
    return Rows({values});
}

void ExpectNear(const CMatrix& actual, const CMatrix& expected, double tolerance)
{
    ASSERT_EQ(actual.Rows(), expected.Rows());
    ASSERT_EQ(actual.Cols(), expected.Cols());
    for (int i = 1; i <= actual.Rows(); ++i)
        for (int j = 1; j <= actual.Cols(); ++j) EXPECT_NEAR(actual.Get(i, j), expected.Get(i, j), tolerance) << i << "," << j;
}

}  // namespace

TEST(MatrixNumerics, InverseByGaussJordan)
{
    test::CRecordingReporter reporter;
    ExpectNear(Rows({{4, 7}, {2, 6}}).Inv(), Rows({{0.6, -0.7}, {-0.2, 0.4}}), 1e-15);
    // Full pivoting through a permutation-like matrix.
    const CMatrixNumerics a = Rows({{0, 2, 1}, {1, 0, 0}, {3, 1, 5}});
    ExpectNear(a * a.Inv(), Rows({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), 1e-14);
    EXPECT_TRUE(reporter.messages.empty());

    const CMatrixNumerics wide = Rows({{1, 2, 3}, {4, 5, 6}});
    ExpectNear(wide.Inv(), wide, 0.0);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "CMatrixNumerics Inv\nMatrix dimensions do not match!");
    EXPECT_EQ(reporter.kinds[0], ErrorKind::Numerical);

    reporter.messages.clear();
    Rows({{1, 2}, {2, 4}}).Inv();
    ASSERT_FALSE(reporter.messages.empty());
    EXPECT_EQ(reporter.messages[0], "gaussj: Singular Matrix");

    // Values that are not numbers spread instead of breaking the pivot search.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CMatrixNumerics poisoned = Rows({{nan, nan}, {nan, nan}}).Inv();
    EXPECT_TRUE(std::isnan(poisoned.Get(1, 1)));
    EXPECT_EQ(CMatrixNumerics().Inv().Rows(), 0);
}

TEST(MatrixNumerics, SvdOfDiagonalIsOrderedWithColumnsFollowing)
{
    CMatrixNumerics u, w, v;
    Rows({{1, 0, 0}, {0, -3, 0}, {0, 0, 2}}).Svd(u, w, v);
    ExpectNear(w, Vector({3, 2, 1}), 1e-15);
    // Column k of U and V belongs to w(k): up to sign, unit vectors 2, 3, 1; the negative
    // diagonal element shows as opposite signs of U and V.
    const int expectedAxis[] = {2, 3, 1};
    for (int k = 1; k <= 3; ++k) {
        const int axis = expectedAxis[k - 1];
        EXPECT_NEAR(std::fabs(u.Get(axis, k)), 1.0, 1e-15);
        EXPECT_NEAR(std::fabs(v.Get(axis, k)), 1.0, 1e-15);
    }
    EXPECT_LT(u.Get(2, 1) * v.Get(2, 1), 0.0);
}

TEST(MatrixNumerics, SortIndexAndColumnOrder)
{
    CMatrixNumerics values = Vector({1, 4, 2, 3});
    const CMatrixI order = values.SortIndex(0);
    ExpectNear(values, Vector({4, 3, 2, 1}), 0.0);
    EXPECT_EQ(std::vector<int32_t>(order.Flat().begin(), order.Flat().end()), (std::vector<int32_t>{2, 4, 3, 1}));

    // Ties follow the left child: the result on equal values is fixed.
    CMatrixNumerics ties = Vector({5, 5, 5, 5, 5});
    const CMatrixI tieOrder = ties.SortIndex(1);
    EXPECT_EQ(std::vector<int32_t>(tieOrder.Flat().begin(), tieOrder.Flat().end()),
              (std::vector<int32_t>{2, 3, 4, 5, 1}));

    CMatrixNumerics m = Rows({{1, 2, 3}, {4, 5, 6}});
    CMatrixI index(1, 3);
    index.SetFlat(1, 3);
    index.SetFlat(2, 1);
    index.SetFlat(3, 7);
    m.UseIndexCols(index);
    ExpectNear(m, Rows({{3, 1, 0}, {6, 4, 0}}), 0.0);

    test::CRecordingReporter reporter;
    m.UseIndexCols(CMatrixI(1, 2));
    ExpectNear(m, Rows({{3, 1, 0}, {6, 4, 0}}), 0.0);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "CMatrixNumerics UseIndexCols\nMatrix dimensions do not match!");
}

TEST(MatrixNumerics, Statistics)
{
    const CMatrixNumerics m = Rows({{1, 5, 2}, {3, 5, 4}, {5, 5, 9}});
    double mean = 0, variance = 0;
    m.ColStat(1, mean, variance);
    EXPECT_DOUBLE_EQ(mean, 3.0);
    EXPECT_DOUBLE_EQ(variance, 4.0);
    m.RowStat(3, mean, variance);
    EXPECT_DOUBLE_EQ(mean, 19.0 / 3.0);
    EXPECT_NEAR(variance, 16.0 / 3.0, 1e-14);
    CMatrixNumerics means, variances;
    m.ColMeanVar(means, variances);
    ExpectNear(means, Vector({3, 5, 5}), 1e-15);
    ExpectNear(variances, Vector({4, 0, 13}), 1e-14);

    // One object has no spread: variance 0, never a division by zero.
    const CMatrixNumerics single = Rows({{2, 7}});
    single.ColStat(2, mean, variance);
    EXPECT_EQ(mean, 7.0);
    EXPECT_EQ(variance, 0.0);
    ExpectNear(single.CovCor(2), Rows({{0, 0}, {0, 0}}), 0.0);

    // Perfectly correlated columns: 1 off the diagonal, the variances on it; a constant column
    // correlates with nothing. Mode 1 leaves the diagonal 0 and gives covariances.
    const CMatrixNumerics data = Rows({{1, 2, 7}, {2, 4, 7}, {4, 8, 7}});
    ExpectNear(data.CovCor(2), Rows({{7.0 / 3, 1, 0}, {1, 28.0 / 3, 0}, {0, 0, 0}}), 1e-14);
    ExpectNear(data.CovCor(1), Rows({{0, 14.0 / 3, 0}, {14.0 / 3, 0, 0}, {0, 0, 0}}), 1e-14);
}

TEST(MatrixNumerics, PolyFitFamilies)
{
    test::CRecordingReporter reporter;
    CMatrixNumerics a, fitted;
    CMatrixNumerics::PolyFit(Vector({1, 2, 3}), Vector({3, 5, 7}), Vector({10, 10, 10}), a, fitted, 1, 2);
    ExpectNear(a, Vector({1, 2}), 1e-12);
    ExpectNear(fitted, Vector({3, 5, 7}), 1e-12);

    // y = 1 + 2x + 3 P2(x) with P2 = (3x^2 - 1) / 2: exact in the Legendre family.
    const CMatrixNumerics x = Vector({-1, -0.5, 0, 0.5, 1});
    CMatrixNumerics y(1, 5);
    for (int i = 1; i <= 5; ++i) {
        const double t = x.GetFlat(i);
        y.SetFlat(i, 1 + 2 * t + 3 * (3 * t * t - 1) / 2);
    }
    CMatrixNumerics::PolyFit(x, y, Vector({1, 1, 1, 1, 1}), a, fitted, 2, 3);
    ExpectNear(a, Vector({1, 2, 3}), 1e-12);
    ExpectNear(fitted, y, 1e-12);

    // The doubled family: p3 = 2x * x - x * 1 = 2x^2 - x.
    for (int i = 1; i <= 5; ++i) {
        const double t = x.GetFlat(i);
        y.SetFlat(i, 4 - t + 0.5 * (2 * t * t - t));
    }
    CMatrixNumerics::PolyFit(x, y, Vector({1, 1, 1, 1, 1}), a, fitted, 3, 3);
    ExpectNear(a, Vector({4, -1, 0.5}), 1e-12);

    // Every abscissa 0 leaves the slope undetermined: its singular value is exactly 0 and is
    // dropped, the fit is the mean.
    CMatrixNumerics::PolyFit(Vector({0, 0, 0}), Vector({1, 2, 3}), Vector({1, 1, 1}), a, fitted, 1, 2);
    ExpectNear(a, Vector({2, 0}), 1e-12);
    ExpectNear(fitted, Vector({2, 2, 2}), 1e-12);
    EXPECT_TRUE(reporter.messages.empty());

    CMatrixNumerics::PolyFit(Vector({1, 2}), Vector({3, 5}), Vector({1, 1}), a, fitted, 1, 3);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Not enough points for 3 coefficients");
    ExpectNear(a, Vector({0, 0, 0}), 0.0);
}

TEST(MatrixNumerics, BlockedProductsEqualThePlainOnes)
{
    // The fast products add the same terms in the same order as the plain ones: equal bit for
    // bit, on shapes that leave remainders of every tile and block.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-10, 10);
    const int shapes[][3] = {{37, 53, 29}, {5, 300, 7}, {130, 130, 260}, {1, 4, 9}, {9, 1, 3}, {3, 3, 1}};
    for (const auto& shape : shapes) {
        CMatrixNumerics a(shape[0], shape[1]), b(shape[1], shape[2]), c(shape[0], shape[2]);
        for (double& v : a.Flat()) v = value(random);
        for (double& v : b.Flat()) v = value(random);
        for (double& v : c.Flat()) v = value(random);
        const CMatrix plain = a * b;
        const CMatrix fast = a.Times(b);
        ASSERT_EQ(fast.Rows(), plain.Rows());
        ASSERT_EQ(fast.Cols(), plain.Cols());
        for (int k = 1; k <= plain.Count(); ++k) EXPECT_EQ(fast.GetFlat(k), plain.GetFlat(k));
        const CMatrix plainT = a.Tx(c);
        const CMatrix fastT = a.TransposeTimes(c);
        ASSERT_EQ(fastT.Rows(), plainT.Rows());
        for (int k = 1; k <= plainT.Count(); ++k) EXPECT_EQ(fastT.GetFlat(k), plainT.GetFlat(k));
    }
    test::CRecordingReporter reporter;
    EXPECT_EQ(CMatrixNumerics(2, 3).Times(CMatrixNumerics(2, 3)).Rows(), 0);
    EXPECT_EQ(CMatrixNumerics(2, 3).TransposeTimes(CMatrixNumerics(3, 3)).Rows(), 0);
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{"CMatrix *\nMatrix dimensions do not match!",
                                                           "CMatrix Tx\nMatrix dimensions do not match!"}));
}
