#include <gtest/gtest.h>

#include <cmath>

#include "search/Similarity.h"

using namespace kiv;

namespace {

CMatrix Rows(const std::vector<std::vector<double>>& rows)
{
    CMatrix matrix(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = 0; j < rows[i].size(); ++j) {
            matrix.Set(static_cast<int>(i + 1), static_cast<int>(j + 1), rows[i][j]);
        }
    }
    return matrix;
}

// Unknown and reference share masses 1 to 4; mass 5 is missing from the unknown (50 of the
// reference's 150), mass 6 is the unknown's own (7 of its 27).
const CMatrix kUnknown = Rows({{5, 5, 5, 5, 0, 7}});
const CMatrix kReference = Rows({{10, 20, 30, 40, 50, 0}});
const std::vector<int32_t> kAll = {1, 2, 3, 4, 5, 6};

double Score(int criterion, const CMatrix& x = kUnknown, const CMatrix& r = kReference)
{
    return Similarity(CriterionFromCode(criterion), x, 1, r, 1, kAll);
}

}  // namespace

TEST(Similarity, CosineCriteriaChooseTheirMasses)
{
    EXPECT_NEAR(Score(1), 0.5523260481, 1e-9);  // 500 / sqrt(149 * 5500)
    EXPECT_NEAR(Score(5), Score(1), 1e-15);  // unlisted numbers are plain cosine
    EXPECT_NEAR(Score(2), 0.7478530045, 1e-9);  // masses of the unknown: 500 / sqrt(149 * 3000)
    EXPECT_NEAR(Score(3), 0.6741998625, 1e-9);  // masses of the reference: 500 / sqrt(100 * 5500)
    EXPECT_NEAR(Score(4), Score(1), 1e-15);  // for non-negative data 1 = 4
    EXPECT_EQ(Score(1, Rows({{0, 0, 0, 0, 0, 0}})), 0.0);
}

TEST(Similarity, PeakCountScores)
{
    // 4 common of 5 reference peaks, one missing carrying 33.3 % of the reference:
    // 512 * 4 / 20 + 200 - 5 * 33.33 / 1.
    EXPECT_NEAR(Score(7), 102.4 + 200 - 5 * 100.0 / 3, 1e-9);
    EXPECT_EQ(Score(7, Rows({{5, 5, 5, 0, 0, 7}})), 0.0);  // only 3 common peaks
    // P = 30.506 %: (P^2 - 16 P) * 0.00625 - 2 = 0.76586, plus 512 * 4 / (1 + 4 + 15).
    EXPECT_NEAR(Score(8), 103.16586454, 1e-7);
    // Identical vectors with c peaks: 50.5 + 512 c / (c + 15).
    for (int c : {1, 4, 6}) {
        std::vector<double> peaks(6, 0.0);
        for (int j = 0; j < c; ++j) peaks[j] = 10.0 * (j + 1);
        CMatrix same = Rows({peaks});
        EXPECT_NEAR(Score(8, same, same), 50.5 + 512.0 * c / (c + 15), 1e-9) << c;
        // The detailed score: 50.5 + 150 c (8c - 1) / (8 c^2), nothing charged.
        EXPECT_NEAR(Score(9, same, same), 50.5 + 150.0 * c * (8 * c - 1) / (8.0 * c * c), 1e-9) << c;
    }
    // Detailed: 0.76586 + 150 * 4 * (40 - 2 - 1 - 1) / 200 = 108.76586, less half of the
    // 33.33 % missing and 25.93 % unknown-only intensity.
    EXPECT_NEAR(Score(9), 108.76586454 - 0.5 * (100.0 / 3 + 700.0 / 27), 1e-7);
    EXPECT_EQ(Score(9, Rows({{0, 0, 0, 0, 0, 0}})), 0.0);
}

TEST(Similarity, TransformAndColumnSelection)
{
    CMatrix m = Rows({{100, 25, 0}, {4, 1, 64}});
    TransformIntensities(m, 0.5, 0.0);
    EXPECT_DOUBLE_EQ(m.Get(1, 1), 100.0);
    EXPECT_DOUBLE_EQ(m.Get(1, 2), 50.0);  // sqrt(25) * 10
    EXPECT_DOUBLE_EQ(m.Get(2, 3), 80.0);
    CMatrix unchanged = Rows({{3, 7}});
    TransformIntensities(unchanged, 1.0, 0.0);
    EXPECT_EQ(unchanged.Get(1, 2), 7.0);
    CMatrix weighted = Rows({{100, 100, 50}});
    TransformIntensities(weighted, 1.0, 2.0);  // j^2 x 100 / (3^2 * 100)
    EXPECT_DOUBLE_EQ(weighted.Get(1, 3), 50.0);
    EXPECT_DOUBLE_EQ(weighted.Get(1, 1), 100.0 / 9);

    std::vector<int32_t> fifty;
    for (int j = 1; j <= 50; ++j) fifty.push_back(j);
    EXPECT_EQ(SelectColumns(fifty, 30).size(), 30u);
    EXPECT_EQ(SelectColumns({}, 3), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(SelectColumns({5, 40, 2, 31}, 30), (std::vector<int32_t>{5, 2}));
}
