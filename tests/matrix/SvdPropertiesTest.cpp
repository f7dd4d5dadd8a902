// The decomposition checked by its properties over many shapes: the factors rebuild the matrix,
// U and V have orthonormal columns where the singular values are not zero, the singular values
// are non-negative and descending.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "TestSupport.h"
#include "matrix/MatrixNumerics.h"

using namespace kiv;

namespace {

CMatrixNumerics RandomMatrix(int rows, int cols, std::mt19937& random)
{
    std::normal_distribution<double> normal;
    CMatrixNumerics a(rows, cols);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j) a.Set(i, j, normal(random));
    return a;
}

// rows x cols of the given rank (a product of random factors).
CMatrixNumerics RankDeficient(int rows, int cols, int rank, std::mt19937& random)
{
    return RandomMatrix(rows, rank, random) * RandomMatrix(rank, cols, random);
}

double MaxAbs(const CMatrix& a)
{
    double largest = 0.0;
    for (double x : a.Flat()) largest = std::max(largest, std::fabs(x));
    return largest;
}

void CheckDecomposition(const CMatrixNumerics& a, const std::string& label)
{
    test::CRecordingReporter reporter;
    const int m = a.Rows(), n = a.Cols();
    CMatrixNumerics u, w, v;
    a.Svd(u, w, v);
    ASSERT_EQ(u.Rows(), m) << label;
    ASSERT_EQ(u.Cols(), n) << label;
    ASSERT_EQ(w.Rows(), 1) << label;
    ASSERT_EQ(w.Cols(), n) << label;
    ASSERT_EQ(v.Rows(), n) << label;
    ASSERT_EQ(v.Cols(), n) << label;
    EXPECT_TRUE(reporter.messages.empty()) << label;
    const double scale = MaxAbs(a) > 0.0 ? MaxAbs(a) : 1.0;
    const double tolerance = 1e-12 * scale * std::max(1, std::max(m, n));
    for (int k = 1; k <= n; ++k) {
        EXPECT_GE(w.GetFlat(k), 0.0) << label;
        if (k > 1) {
            EXPECT_GE(w.GetFlat(k - 1), w.GetFlat(k)) << label;
        }
    }
    // A = U diag(w) V^T.
    const CMatrix rebuilt = u.xCols(w).xT(v);
    if (m > 0 && n > 0) {
        CMatrix difference = rebuilt;
        for (int i = 1; i <= m; ++i)
            for (int j = 1; j <= n; ++j) difference.Set(i, j, rebuilt.Get(i, j) - a.Get(i, j));
        EXPECT_LT(MaxAbs(difference), tolerance) << label;
    }
    // V is orthogonal; the columns of U that belong to non-zero singular values are orthonormal.
    const CMatrix vtv = v.Tx(v);
    const CMatrix utu = u.Tx(u);
    const double negligible = 1e-10 * std::max(1e-300, w.GetFlat(1));
    for (int i = 1; i <= n; ++i) {
        for (int k = 1; k <= n; ++k) {
            EXPECT_NEAR(vtv.Get(i, k), i == k ? 1.0 : 0.0, 1e-12 * n) << label;
            if (w.GetFlat(i) > negligible && w.GetFlat(k) > negligible) {
                EXPECT_NEAR(utu.Get(i, k), i == k ? 1.0 : 0.0, 1e-12 * std::max(m, n)) << label;
            }
        }
    }
    // The fast form without U gives the same values and, where the values are distinct, the same
    // right vectors up to sign.
    CMatrixNumerics w2, v2;
    a.SvdValuesRight(w2, v2);
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(w2.GetFlat(k), w.GetFlat(k), tolerance) << label;
    for (int k = 1; k <= n; ++k) {
        const double gap = std::min(k > 1 ? w.GetFlat(k - 1) - w.GetFlat(k) : 1e300, k < n ? w.GetFlat(k) - w.GetFlat(k + 1) : 1e300);
        if (gap < 1e-6 * std::max(1e-300, w.GetFlat(1))) continue;
        double dot = 0;
        for (int i = 1; i <= n; ++i) dot += v.Get(i, k) * v2.Get(i, k);
        EXPECT_NEAR(std::fabs(dot), 1.0, 1e-9) << label << " column " << k;
    }
}

}  // namespace

TEST(SvdProperties, ManyShapes)
{
    std::mt19937 random(17);
    const int shapes[][2] = {{1, 1}, {1, 5}, {5, 1}, {2, 2}, {3, 5}, {5, 3}, {10, 10}, {40, 7}, {7, 40},
                             {60, 60}, {300, 40}, {40, 300}, {700, 90}, {200, 45}};
    for (const auto& shape : shapes)
        CheckDecomposition(RandomMatrix(shape[0], shape[1], random),
                           std::to_string(shape[0]) + "x" + std::to_string(shape[1]));
}

TEST(SvdProperties, RankDeficientAndSpecialMatrices)
{
    std::mt19937 random(5);
    CheckDecomposition(RankDeficient(30, 20, 1, random), "rank 1");
    CheckDecomposition(RankDeficient(20, 30, 4, random), "rank 4, wide");
    CheckDecomposition(RankDeficient(50, 12, 11, random), "rank 11");
    CheckDecomposition(CMatrixNumerics(6, 4), "zero");
    CMatrixNumerics withZeroColumn = RandomMatrix(8, 5, random);
    for (int i = 1; i <= 8; ++i) withZeroColumn.Set(i, 3, 0.0);
    CheckDecomposition(withZeroColumn, "zero column");
    CMatrixNumerics tiny = RandomMatrix(9, 6, random) * 1e-200;
    CheckDecomposition(tiny, "tiny values");
    CMatrixNumerics huge = RandomMatrix(9, 6, random) * 1e200;
    CheckDecomposition(huge, "huge values");
    CMatrixNumerics equal(4, 4);
    for (int i = 1; i <= 4; ++i) equal.Set(i, i, 2.0);
    CheckDecomposition(equal, "equal singular values");
}

TEST(SvdProperties, EmptyShapes)
{
    CheckDecomposition(CMatrixNumerics(), "0x0");
    CheckDecomposition(CMatrixNumerics(0, 3), "0x3");
    CheckDecomposition(CMatrixNumerics(4, 0), "4x0");
}

TEST(SvdProperties, ValuesThatAreNotFiniteAreReportedOnce)
{
    test::CRecordingReporter reporter;
    std::mt19937 random(3);
    CMatrixNumerics a = RandomMatrix(200, 150, random);
    a.Set(7, 9, std::numeric_limits<double>::quiet_NaN());
    a.Set(8, 1, std::numeric_limits<double>::infinity());
    CMatrixNumerics u, w, v;
    a.Svd(u, w, v);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "svdcmp: the matrix holds values that are not finite");
    EXPECT_EQ(w.Cols(), 150);
    EXPECT_TRUE(std::isnan(w.GetFlat(1)));
}
