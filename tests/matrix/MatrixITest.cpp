#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "TestSupport.h"
#include "matrix/MatrixI.h"
#include "matrix/Random.h"

using namespace kiv;

namespace {

CMatrixI Row(std::initializer_list<int32_t> values)
{
    CMatrixI m(1, static_cast<int>(values.size()));
    int k = 1;
    for (int32_t v : values) m.SetFlat(k++, v);
    return m;
}

std::vector<int32_t> Values(const CMatrixI& m)
{
    return std::vector<int32_t>(m.Flat().begin(), m.Flat().end());
}

using V = std::vector<int32_t>;

}  // namespace

TEST(MatrixI, SortedSetOperations)
{
    CMatrixI set = Row({2, 7});
    set.InsertSorted(5);
    EXPECT_EQ(Values(set), (V{2, 5, 7}));
    set = Row({2, 7});
    set.InsertSorted(7);
    EXPECT_EQ(Values(set), (V{2, 7}));
    set.InsertSorted(9);
    EXPECT_EQ(Values(set), (V{2, 7, 9}));
    set.ToggleValue(7);
    EXPECT_EQ(Values(set), (V{2, 9}));
    set.ToggleValue(1);
    EXPECT_EQ(Values(set), (V{1, 2, 9}));
    EXPECT_EQ(set.Find(9), 3);
    EXPECT_EQ(set.Find(4), 0);
    set.RemoveValue(4);
    EXPECT_EQ(Values(set), (V{1, 2, 9}));

    CMatrixI empty;
    empty.InsertSorted(3);
    EXPECT_EQ(empty.Rows(), 1);
    EXPECT_EQ(Values(empty), (V{3}));
    empty.RemoveValue(3);
    EXPECT_EQ(empty.Cols(), 0);
}

TEST(MatrixI, HeapsortAndPermutation)
{
    CMatrixI a = Row({3, 1, 2});
    EXPECT_EQ(Values(a.SortIndex(1)), (V{2, 3, 1}));
    EXPECT_EQ(Values(a), (V{1, 2, 3}));
    CMatrixI d = Row({1, 3, 2});
    EXPECT_EQ(Values(d.SortIndex(0)), (V{2, 3, 1}));
    EXPECT_EQ(Values(d), (V{3, 2, 1}));

    // Larger inputs with duplicates and negatives: sorted, and the permutation points back.
    const V original{5, -3, 9, 9, 0, 12, -3, 7, 1, 5, 5, 100, -50};
    CMatrixI m(1, static_cast<int>(original.size()));
    for (size_t i = 0; i < original.size(); ++i) m.SetFlat(static_cast<int>(i + 1), original[i]);
    CMatrixI asc = m;
    CMatrixI perm = asc.SortIndex(1);
    for (int p = 1; p <= asc.Cols(); ++p) {
        if (p > 1) {
            EXPECT_LE(asc.GetFlat(p - 1), asc.GetFlat(p));
        }
        EXPECT_EQ(asc.GetFlat(p), original[static_cast<size_t>(perm.GetFlat(p) - 1)]);
    }
    CMatrixI desc = m;
    perm = desc.SortIndex(0);
    for (int p = 1; p <= desc.Cols(); ++p) {
        if (p > 1) {
            EXPECT_GE(desc.GetFlat(p - 1), desc.GetFlat(p));
        }
        EXPECT_EQ(desc.GetFlat(p), original[static_cast<size_t>(perm.GetFlat(p) - 1)]);
    }
    m.Sort();
    EXPECT_EQ(Values(m), Values(asc));

    CMatrixI single = Row({4});
    EXPECT_EQ(Values(single.SortIndex(1)), (V{1}));
}

TEST(MatrixI, UseIndexColsReordersColumns)
{
    test::CRecordingReporter reporter;
    CMatrixI m(2, 3);
    for (int k = 1; k <= 6; ++k) m.SetFlat(k, k);
    m.UseIndexCols(Row({3, 0, 1}));
    EXPECT_EQ(Values(m), (V{3, 0, 1, 6, 0, 4}));
    m.UseIndexCols(Row({1, 2}));
    EXPECT_EQ(Values(m), (V{3, 0, 1, 6, 0, 4}));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "CMatrixI UseIndexCols\nMatrix dimensions do not match!");
}

TEST(MatrixI, PsdesMatchesPublishedCheckValues)
{
    // Check values of the published description of the hash: (left, right) before and after.
    struct Case {
        uint32_t left, right, hashedLeft, hashedRight;
    };
    for (const Case& c : {Case{1, 1, 0x604D1DCE, 0x509C0C23}, Case{1, 99, 0xD97F8571, 0xA66CB41A},
                          Case{99, 1, 0x7822309D, 0x64300984}, Case{99, 99, 0xD7F376F0, 0x59BA89EB}}) {
        uint32_t left = c.left, right = c.right;
        Psdes(left, right);
        EXPECT_EQ(left, c.hashedLeft);
        EXPECT_EQ(right, c.hashedRight);
    }
    CRandomPsdes generator;
    generator.SetCounter(5);
    const double u = generator.Next();
    EXPECT_GE(u, 0.0);
    EXPECT_LT(u, 1.0);
    EXPECT_EQ(generator.Counter(), 6u);
}

TEST(MatrixI, RandomSubsetIsDistinctInRangeAndReproducible)
{
    for (int seed : {0, 1, 17, -3}) {
        for (int n : {1, 5, 40, 1000}) {
            const int count = n < 30 ? n : 30;
            CMatrixI subset;
            subset.RandomSubset(count, n, seed);
            ASSERT_EQ(subset.Rows(), 1);
            ASSERT_EQ(subset.Cols(), count);
            std::set<int32_t> seen;
            for (int32_t v : Values(subset)) {
                EXPECT_GE(v, 1);
                EXPECT_LE(v, n);
                seen.insert(v);
            }
            EXPECT_EQ(static_cast<int>(seen.size()), count);
            CMatrixI again;
            again.RandomSubset(count, n, seed);
            EXPECT_EQ(Values(again), Values(subset));
        }
    }
    CMatrixI a, b;
    a.RandomSubset(10, 1000, 1);
    b.RandomSubset(10, 1000, 2);
    EXPECT_NE(Values(a), Values(b));
    // Drawing everything gives a permutation; drawing more leaves the surplus 0.
    a.RandomSubset(7, 5, 3);
    V all = Values(a);
    EXPECT_EQ(std::set<int32_t>(all.begin(), all.begin() + 5), (std::set<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(all[5], 0);
    EXPECT_EQ(all[6], 0);
}
