#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSupport.h"
#include "search/CriterionHitlists.h"
#include "search/EvaluationFiles.h"
#include "search/EvaluationTables.h"
#include "search/LibraryScan.h"
#include "search/SimilarityCriterion.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;

namespace {

CEvaluationTables OneRow(const std::vector<int32_t>& records, const std::vector<double>& similarities)
{
    CEvaluationTables tables;
    tables.Allocate(1, static_cast<int>(records.size()));
    for (size_t m = 0; m < records.size(); ++m) {
        tables.records.Set(1, static_cast<int>(m + 1), records[m]);
        tables.similarities.Set(1, static_cast<int>(m + 1), similarities[m]);
    }
    return tables;
}

}  // namespace

TEST(SimilarityCriterion, CodesMapToOneCriterionEach)
{
    EXPECT_EQ(CriterionFromCode(2), SimilarityCriterion::CosineUnknownMasses);
    EXPECT_EQ(CriterionFromCode(9), SimilarityCriterion::SiscomDetailed);
    for (int unlisted : {-3, 0, 1, 5, 6, 10, 17, 99}) EXPECT_EQ(CriterionFromCode(unlisted), SimilarityCriterion::Cosine);
    // Evaluation codes from 10 on compare under the code less 10, once.
    EXPECT_EQ(EvaluationCriterionFromCode(8), SimilarityCriterion::SiscomEasy);
    EXPECT_EQ(EvaluationCriterionFromCode(12), SimilarityCriterion::CosineUnknownMasses);
    EXPECT_EQ(EvaluationCriterionFromCode(17), SimilarityCriterion::BestCandidates);
    EXPECT_EQ(EvaluationCriterionFromCode(10), SimilarityCriterion::Cosine);
    EXPECT_EQ(EvaluationCriterionFromCode(27), SimilarityCriterion::Cosine);
    EXPECT_TRUE(NeedsSiscomPreparation(SimilarityCriterion::BestCandidates));
    EXPECT_TRUE(NeedsSiscomPreparation(SimilarityCriterion::SiscomDetailed));
    EXPECT_FALSE(NeedsSiscomPreparation(SimilarityCriterion::CosineEitherMasses));
}

TEST(EvaluationTables, QueryRemovedOnceAndPlacedFirst)
{
    CEvaluationTables tables = OneRow({4, 7, 9, 7}, {0.9, 0.8, 0.7, 0.6});
    tables.RemoveQuery(1, 7);  // only the first of the W-1 ranks; the last rank keeps its value
    EXPECT_EQ(tables.records.Get(1, 2), 9);
    EXPECT_EQ(tables.records.Get(1, 3), 7);
    EXPECT_EQ(tables.records.Get(1, 4), 7);
    tables.PlaceQueryFirst(1, 7);
    EXPECT_EQ(tables.records.Get(1, 1), 7);
    EXPECT_EQ(tables.records.Get(1, 2), 4);
    EXPECT_DOUBLE_EQ(tables.similarities.Get(1, 1), 1.0);
    EXPECT_DOUBLE_EQ(tables.similarities.Get(1, 3), 0.7);
    EXPECT_DOUBLE_EQ(tables.tanimotos.Get(1, 1), 1.0);

    CEvaluationTables absent = OneRow({1, 2, 3}, {0.9, 0.8, 0.7});
    absent.RemoveQuery(1, 3);  // in the last rank only: nothing moves
    EXPECT_EQ(absent.records.Get(1, 2), 2);
    EXPECT_EQ(absent.records.Get(1, 3), 3);
}

TEST(EvaluationTables, CurveAndFilesHaveTheirExactLayout)
{
    CEvaluationTables tables;
    tables.Allocate(2, 3);
    tables.records.Set(1, 1, 5);
    tables.records.Set(1, 2, 12);
    tables.similarities.Set(1, 1, 1.0);
    tables.similarities.Set(1, 2, 0.25);
    tables.tanimotos.Set(1, 2, 0.5);
    tables.tanimotos.Set(2, 2, 0.25);
    tables.tanimotos.Set(2, 3, 1.0);
    EXPECT_DOUBLE_EQ(tables.MeanOfFirstHits(1), 0.375);
    EXPECT_DOUBLE_EQ(tables.MeanOfFirstHits(2), (0.375 + 0.5) / 2);

    CScratchFolder folder;
    WriteResultFiles(folder.Path("r"), tables, "%10.4f");
    EXPECT_EQ(ReadBytes(folder.Path("r_i.txt")), "      5     12      0\r\n      0      0      0\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("r_f.txt")),
              "    1.0000    0.2500   -0.9990\r\n   -0.9990   -0.9990   -0.9990\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("r_t.txt")), "  0.0000  0.5000  0.0000\r\n  0.0000  0.2500  1.0000\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("r_s.txt")),
              "mean tanimoto of 1-# hits for all test objects\r\n0.375000\r\n0.437500\r\n");
}

TEST(EvaluationTables, PairFilesHoldTwoRecordsAndOneMean)
{
    CEvaluationTables pairs;
    pairs.AllocatePairs(2);
    pairs.records.Set(1, 1, 3);
    pairs.records.Set(1, 2, 8);
    pairs.similarities.Set(1, 1, 0.5);
    pairs.tanimotos.Set(1, 1, 0.25);  // pair 2 stays empty: -0.999 enters the mean
    CScratchFolder folder;
    WritePairResultFiles(folder.Path("p"), pairs);
    EXPECT_EQ(ReadBytes(folder.Path("p_i.txt")), "      3      8\r\n      0      0\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("p_f.txt")), "    0.5000\r\n   -0.9990\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("p_s.txt")), "mean tanimoto of 1-# hits for all test objects\r\n-0.374500\r\n");

    CEvaluationTables none;
    none.AllocatePairs(0);
    WritePairResultFiles(folder.Path("n"), none);
    EXPECT_EQ(ReadBytes(folder.Path("n_s.txt")), "mean tanimoto of 1-# hits for all test objects\r\n");
}

TEST(LibraryScan, BlocksOfRecordsAndAStopBetweenThem)
{
    std::vector<std::pair<int, int32_t>> blocks;  // rows, first record
    double lastValue = 0;
    auto build = [](int32_t q, double* out) { out[0] = q; };
    auto compare = [&](const double* block, int rows, int32_t first) {
        blocks.push_back({rows, first});
        if (rows > 0) lastValue = block[rows - 1];
    };
    ScanLibraryInBlocks(600, 1, [](int32_t) { return true; }, build, compare);
    EXPECT_EQ(blocks, (std::vector<std::pair<int, int32_t>>{{256, 1}, {256, 257}, {88, 513}}));
    EXPECT_DOUBLE_EQ(lastValue, 600);

    blocks.clear();
    ScanLibraryInBlocks(600, 1, [](int32_t q) { return q < 300; }, build, compare);
    EXPECT_EQ(blocks, (std::vector<std::pair<int, int32_t>>{{256, 1}, {43, 257}}));

    blocks.clear();
    ScanLibraryInBlocks(0, 1, [](int32_t) { return true; }, build, compare);
    EXPECT_EQ(blocks, (std::vector<std::pair<int, int32_t>>{{0, 1}}));
}

TEST(CriterionHitlists, RanksUnderTheCriterionAndSkipsSparseTests)
{
    CMatrix tests(2, 4);
    for (int j = 1; j <= 3; ++j) tests.Set(1, j, 10.0 * j);
    tests.Set(2, 4, 50);  // a value only in the last column: too few to compare
    const double library[] = {10, 20, 30, 0, /**/ 0, 0, 30, 5, /**/ 30, 20, 10, 0};
    CCriterionHitlists hits(tests, 3, SimilarityCriterion::CosineUnknownMasses, {1, 2, 3, 4}, -0.999);
    hits.Compare(library, 2, 1);
    hits.Compare(library + 8, 1, 3);
    EXPECT_EQ(hits.references.Get(1, 1), 1);
    EXPECT_EQ(hits.references.Get(1, 2), 2);
    EXPECT_EQ(hits.references.Get(1, 3), 3);
    EXPECT_NEAR(hits.similarities.Get(1, 1), 1.0, 1e-12);
    // Over the unknown's masses 1 to 3 only: reference 2's peak at 4 does not count.
    EXPECT_NEAR(hits.similarities.Get(1, 2), 900.0 / std::sqrt(1400.0 * 900.0), 1e-12);
    EXPECT_NEAR(hits.similarities.Get(1, 3), 1000.0 / 1400.0, 1e-12);
    for (int m = 1; m <= 3; ++m) {
        EXPECT_EQ(hits.references.Get(2, m), 0);
        EXPECT_DOUBLE_EQ(hits.similarities.Get(2, m), 0.0);
    }
}
