#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"
#include "matrix/MatrixNumerics.h"

using namespace kiv;

namespace {

CMatrix Make(int rows, int cols, std::initializer_list<double> values)
{
    CMatrix m(rows, cols);
    int k = 1;
    for (double v : values) m.SetFlat(k++, v);
    return m;
}

}  // namespace

TEST(Matrix, AccessOutsideTheShapeReadsZeroAndWritesNothing)
{
    CMatrix m = Make(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(m.Get(0, 1), 0.0);
    EXPECT_EQ(m.Get(3, 1), 0.0);
    EXPECT_EQ(m.Get(1, 3), 0.0);
    EXPECT_EQ(m.GetFlat(5), 0.0);
    EXPECT_EQ(m.GetFlat(0), 0.0);
    m.Set(0, 1, 9);
    m.Set(3, 1, 9);
    m.SetFlat(5, 9);
    m.SetFlat(0, 9);
    EXPECT_EQ(m.Sum(), 10.0);
    EXPECT_EQ(m.Get(2, 1), 3.0);
    EXPECT_EQ(m.Row(2)[2], 4.0);

    CMatrix column;
    m.GetCol(3, column);
    EXPECT_EQ(column.Rows(), 1);
    EXPECT_EQ(column.Cols(), 2);
    EXPECT_EQ(column.Sum(), 0.0);
    m.GetCol(2, column);
    EXPECT_EQ(column.Get(1, 2), 4.0);

    // Resize keeps the name and the overlap; Alloc resets the name.
    m.name = "spectra";
    m.Resize(3, 1);
    EXPECT_EQ(m.name, "spectra");
    EXPECT_EQ(m.Get(2, 1), 3.0);
    EXPECT_EQ(m.Get(3, 1), 0.0);
    m.Alloc(0, 4);
    EXPECT_EQ(m.name, " ");
    EXPECT_EQ(m.Cols(), 4);
    EXPECT_EQ(m.Count(), 0);
    m.Free();
    EXPECT_EQ(m.name, " ");
    CMatrixI integers(1, 1);
    integers.Free();
    EXPECT_EQ(integers.name, "");
}

TEST(Matrix, AbsurdShapesAreRefusedBeforeAllocating)
{
    test::CRecordingReporter reporter;
    CMatrix m = Make(1, 2, {1, 2});
    EXPECT_FALSE(m.Alloc(2000000000, 2000000000));
    EXPECT_FALSE(m.Alloc(1, 2000000000));  // 16 GB of doubles
    EXPECT_FALSE(m.Alloc(-1, 3));
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);
    CMatrixI i;
    EXPECT_FALSE(i.Alloc(65536, 65536));
    ASSERT_EQ(reporter.messages.size(), 4u);
    EXPECT_EQ(reporter.messages[0], "allocation failure 2 in matrix()");
    EXPECT_EQ(reporter.kinds[0], ErrorKind::Numerical);
    EXPECT_EQ(reporter.messages[3], "allocation failure 2 in MatrixI()");
}

TEST(Matrix, ProductTreatsOneByOneAsScalar)
{
    test::CRecordingReporter reporter;
    CMatrix s = Make(1, 1, {2});
    CMatrix a = Make(2, 3, {1, 2, 3, 4, 5, 6});
    CMatrix p = s * a;
    ASSERT_EQ(p.Rows(), 2);
    ASSERT_EQ(p.Cols(), 3);
    EXPECT_EQ(p.Get(2, 3), 12.0);
    p = a * s;
    EXPECT_EQ(p.Get(1, 2), 4.0);

    CMatrix b = Make(3, 2, {1, 0, 0, 1, 1, 1});
    p = a * b;
    ASSERT_EQ(p.Rows(), 2);
    ASSERT_EQ(p.Cols(), 2);
    EXPECT_EQ(p.Get(1, 1), 4.0);
    EXPECT_EQ(p.Get(1, 2), 5.0);
    EXPECT_EQ(p.Get(2, 1), 10.0);
    EXPECT_EQ(p.Get(2, 2), 11.0);

    EXPECT_TRUE(reporter.messages.empty());
    p = a * a;
    EXPECT_EQ(p.Rows(), 0);
    EXPECT_EQ(p.Cols(), 0);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "CMatrix *\nMatrix dimensions do not match!");
}

TEST(Matrix, TransposedProductsAndColumnOperations)
{
    test::CRecordingReporter reporter;
    CMatrix a = Make(2, 3, {1, 2, 3, 4, 5, 6});
    CMatrix g = a.xT(a);  // 2 x 2 Gram matrix of the rows
    ASSERT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Get(1, 2), 32.0);
    EXPECT_EQ(g.Get(2, 2), 77.0);
    CMatrix c = a.Tx(a);  // 3 x 3
    ASSERT_EQ(c.Rows(), 3);
    EXPECT_EQ(c.Get(1, 3), 1 * 3 + 4 * 6);
    EXPECT_EQ(c.Get(3, 2), 3 * 2 + 6 * 5);

    CMatrix v = Make(1, 3, {1, 2, 3});
    CMatrix centred = a.SubCols(v);
    EXPECT_EQ(centred.Get(2, 3), 3.0);
    CMatrix scaled = a.xCols(v);
    EXPECT_EQ(scaled.Get(2, 3), 18.0);
    EXPECT_TRUE(reporter.messages.empty());

    CMatrix wrong = Make(1, 2, {1, 2});
    EXPECT_EQ(a.SubCols(wrong).Rows(), 0);
    EXPECT_EQ(a.xT(wrong).Rows(), 0);
    EXPECT_EQ(a.Tx(v).Rows(), 0);
    ASSERT_EQ(reporter.messages.size(), 3u);
    EXPECT_EQ(reporter.messages[0], "CMatrix xCols\nMatrix dimensions do not match!");
    EXPECT_EQ(reporter.messages[1], "CMatrix xT\nMatrix dimensions do not match!");
    EXPECT_EQ(reporter.messages[2], "CMatrix Tx\nMatrix dimensions do not match!");

    CMatrixNumerics n = a * 2.0;  // results convert to the numerics type
    EXPECT_EQ(n.Get(2, 1), 8.0);
    n += 1.0;
    EXPECT_EQ((n *= 0.5).Get(1, 1), 1.5);
}

TEST(Matrix, AppendJoinsOrReportsMismatch)
{
    test::CRecordingReporter reporter;
    CMatrix y = Make(2, 1, {7, 8});
    y.name = "Y block";
    CMatrix x;
    x.AppendCols(y);
    EXPECT_EQ(x.name, "Y block");
    EXPECT_EQ(x.Get(2, 1), 8.0);
    x.name = "X";
    x.AppendCols(Make(2, 2, {1, 2, 3, 4}));
    ASSERT_EQ(x.Cols(), 3);
    EXPECT_EQ(x.name, "X");
    EXPECT_EQ(x.Get(2, 1), 8.0);
    EXPECT_EQ(x.Get(2, 3), 4.0);
    x.AppendRows(Make(1, 3, {9, 9, 9}));
    ASSERT_EQ(x.Rows(), 3);
    EXPECT_EQ(x.Get(3, 2), 9.0);
    EXPECT_EQ(x.Get(1, 1), 7.0);

    x.AppendCols(Make(2, 1, {0, 0}));
    x.AppendRows(Make(1, 2, {0, 0}));
    EXPECT_EQ(x.Rows(), 3);
    EXPECT_EQ(x.Cols(), 3);
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0], "Rows do not match!");
    EXPECT_EQ(reporter.messages[1], "Cols do not match!");
    EXPECT_EQ(reporter.kinds[0], ErrorKind::RunTime);
}

TEST(Matrix, ExtremesStartFromTinyAndHugeValues)
{
    CMatrix m = Make(2, 3, {-1, -5, -2, 0, 0, 0});
    EXPECT_EQ(m.RowMax(1), 1e-308);
    int col = 42;
    EXPECT_EQ(m.RowMaxIndex(1, col), 1e-308);
    EXPECT_EQ(col, 42);
    EXPECT_EQ(m.RowMin(2), 0.0);
    EXPECT_EQ(m.RowMin(1), -5.0);
    EXPECT_EQ(m.Max(), 1e-308);
    EXPECT_EQ(m.Min(), -5.0);

    CMatrix p = Make(1, 4, {3, 7, 7, 1});
    EXPECT_EQ(p.RowMaxIndex(1, col), 7.0);
    EXPECT_EQ(col, 2);  // the first of equal maxima
    EXPECT_EQ(CMatrix().Min(), 1e308);
}
