#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "search/CosineHitlists.h"
#include "search/Hitlist.h"

using namespace kiv;

namespace {

CMatrix RandomVectors(int rows, int cols, std::mt19937& random, double zeroShare)
{
    std::uniform_real_distribution<double> value(0.0, 100.0), coin(0.0, 1.0);
    CMatrix m(rows, cols);
    for (double& x : m.Flat()) x = coin(random) < zeroShare ? 0.0 : value(random);
    return m;
}

// The hitlists computed one pair at a time, as the plain formula says.
void StraightHitlists(const CMatrix& tests, const CMatrix& library, int width, CMatrix& s, CMatrixI& k)
{
    s.Alloc(tests.Rows(), width);
    s.Fill(-0.999);
    k.Alloc(tests.Rows(), width);
    for (int q = 1; q <= library.Rows(); ++q) {
        for (int l = 1; l <= tests.Rows(); ++l) {
            double xy = 0, xx = 0, yy = 0;
            for (int j = 1; j <= tests.Cols(); ++j) {
                double x = tests.Get(l, j), y = library.Get(q, j);
                xy += x * y;
                xx += x * x;
                yy += y * y;
            }
            double root = std::sqrt(xx * yy);
            InsertHit(s.Row(l).data(), k.Row(l).data(), width, root >= 1e-12 ? xy / root : 0.0, q);
        }
    }
}

}  // namespace

TEST(CosineHitlists, SameHitsAsThePlainFormula)
{
    std::mt19937 random(5);
    for (auto [tests, refs, dims, width] : {std::tuple{13, 101, 37, 10}, {8, 5, 100, 8}, {1, 300, 3, 50}, {17, 64, 0, 4}}) {
        CMatrix testVectors = RandomVectors(tests, dims, random, 0.5);
        CMatrix library = RandomVectors(refs, dims, random, 0.5);
        library.SetCol(1, CMatrix(1, refs));
        if (refs > 2) {
            for (int j = 1; j <= dims; ++j) library.Set(2, j, 0.0);  // an empty spectrum scores 0
        }
        CCosineHitlists fast(testVectors, width, -0.999);
        // Blocks of uneven size, as a reader delivers them.
        for (int first = 1; first <= refs; first += 37) {
            int rows = std::min(37, refs - first + 1);
            fast.Compare(library.Row(first).data(), rows, dims, first);
        }
        CMatrix s;
        CMatrixI k;
        StraightHitlists(testVectors, library, width, s, k);
        for (int l = 1; l <= tests; ++l) {
            for (int h = 1; h <= width; ++h) {
                EXPECT_EQ(fast.references.Get(l, h), k.Get(l, h)) << l << " " << h;
                EXPECT_NEAR(fast.similarities.Get(l, h), s.Get(l, h), 1e-12);
            }
        }
    }
}

TEST(CosineHitlists, ShortLibraryRowsAndTies)
{
    CMatrix tests(1, 3);
    tests.Set(1, 1, 1.0);
    CMatrix library(3, 2);  // rows shorter than the tests: the third position counts as 0
    library.Set(1, 1, 2.0);
    library.Set(2, 1, 5.0);
    library.Set(3, 2, 1.0);
    CCosineHitlists hits(tests, 4, -0.999);
    hits.Compare(library.Data(), 3, 2, 10);
    EXPECT_EQ(hits.references.Get(1, 1), 10);  // equal cosine 1.0: the earlier reference first
    EXPECT_EQ(hits.references.Get(1, 2), 11);
    EXPECT_EQ(hits.references.Get(1, 3), 12);
    EXPECT_EQ(hits.similarities.Get(1, 3), 0.0);
    EXPECT_EQ(hits.references.Get(1, 4), 0);
    EXPECT_EQ(hits.similarities.Get(1, 4), -0.999);
}
