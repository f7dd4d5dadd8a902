#include <gtest/gtest.h>

#include "RunFixtures.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "gcms/Msm.h"
#include "gcms/RetentionCalibration.h"
#include "gcms/RetentionConversion.h"

using namespace kiv;
using namespace kiv::test;

namespace {

// A run of five scans at 2, 4, 6, 8 and 10 minutes.
void FiveScanRun(CBib& bib)
{
    MakeRun(bib, std::vector<std::vector<double>>(5, {10, 20}), {2, 4, 6, 8, 10});
    ComputeMSM(bib, MsmPass::First);
}

}  // namespace

TEST(RetentionCalibration, PointsFromSelectedScansAndEnteredIndices)
{
    CRecordingReporter reporter;
    CBib bib;
    MakeRun(bib, {{1}});
    CChromatogram chromatogram;
    CRecordingSession session;
    UseSelectedSpectraCommand(bib, chromatogram, session);
    FiveScanRun(bib);
    UseSelectedSpectraCommand(bib, chromatogram, session);
    ASSERT_EQ(reporter.messages, (std::vector<std::string>{"No Retention Times!", "Select Spectra!"}));
    EXPECT_TRUE(session.status.empty());

    bib.parameters.retPoints.Alloc(2, 1);
    bib.parameters.retPoints.Set(1, 1, 900);
    chromatogram.selected.InsertSorted(4);
    chromatogram.selected.InsertSorted(2);
    UseSelectedSpectraCommand(bib, chromatogram, session);
    EXPECT_EQ(session.status.back(), "Retention Times stored.");
    const CMatrix& points = bib.parameters.retPoints;
    ASSERT_EQ(points.Cols(), 2);
    EXPECT_DOUBLE_EQ(points.Get(1, 1), 900.0);  // kept where the points overlap
    EXPECT_DOUBLE_EQ(points.Get(2, 1), 4.0);
    EXPECT_DOUBLE_EQ(points.Get(2, 2), 8.0);

    CQueuePrompter prompter;
    prompter.answers = {"1000", "1500"};
    EnterRetentionIndicesCommand(bib, prompter);
    ASSERT_EQ(prompter.prompts.size(), 2u);
    EXPECT_EQ(prompter.prompts[0], "Calibration Point 1\nRetention Time    4.000000\nRetention Index:");
    EXPECT_DOUBLE_EQ(points.Get(1, 1), 1000.0);
    EXPECT_DOUBLE_EQ(points.Get(1, 2), 1500.0);
}

TEST(RetentionCalibration, DefaultFitsAQuadraticThroughThreePoints)
{
    CBib bib;
    bib.Reset();
    CMatrix& points = bib.parameters.retPoints;
    points.Alloc(2, 3);
    // rt = 1e-6 ri^2 + 0.002 ri - 1
    const double indices[] = {1000, 1500, 2000};
    for (int i = 1; i <= 3; ++i) {
        const double ri = indices[i - 1];
        points.Set(1, i, ri);
        points.Set(2, i, 1e-6 * ri * ri + 0.002 * ri - 1);
    }
    CRecordingSession session;
    session.Log("old line");
    CalibrationCommand(bib, session);
    const std::vector<std::string> expected = {
        "Fit quadratic polynome function with 3 coefficients:",
        "c1     -1.000000000",  // the last digits carry the rounding of the powers of 1000
        "c2      0.002000000000",
        "c3      0.000001000000",
        "Calibration points (3):",
        "       x            y            y*",
        "    1000      2.000000      2.000000",
        "    1500      4.250000      4.250000",
        "    2000      7.000000      7.000000",
    };
    ASSERT_EQ(session.log.size(), expected.size());
    EXPECT_EQ(session.log[1].substr(0, expected[1].size()), expected[1]);
    EXPECT_EQ(session.log[1].size(), 22u);
    for (size_t i = 0; i < expected.size(); ++i) {
        if (i != 1) {
            EXPECT_EQ(session.log[i], expected[i]);
        }
    }
    EXPECT_EQ(session.redraws, 1);

    bib.parameters.retCalc = 2;
    CalibrationCommand(bib, session);
    EXPECT_EQ(session.log[0], "Fit linear function with 2 coefficients:");
    EXPECT_EQ(session.log.size(), 3u + 3u + 3u - 1u);
}

TEST(RetentionCalibration, IndicesForEveryScanWithATime)
{
    CBib bib;
    CRecordingSession session;
    MakeRun(bib, {{1}});
    CalculateRetentionIndexCommand(bib, session);
    EXPECT_EQ(session.status.back(), "Calc MSM first!");

    FiveScanRun(bib);
    bib.run.retentionTime.Set(1, 3, 0.0);
    bib.run.retentionIndex.Set(1, 3, 777.0);
    // A linear calibration: rt = 0.01 ri - 2, so ri = (rt + 2) * 100.
    bib.parameters.retXq = 1e-301;
    bib.parameters.retXk = 0.01;
    bib.parameters.retXd = -2;
    CalculateRetentionIndexCommand(bib, session);
    EXPECT_EQ(session.status.back(), "Retention Index calibrated");
    EXPECT_DOUBLE_EQ(bib.run.retentionIndex.Get(1, 1), 400.0);
    EXPECT_DOUBLE_EQ(bib.run.retentionIndex.Get(1, 3), 777.0);  // no time: left alone
    EXPECT_DOUBLE_EQ(bib.run.retentionIndex.Get(1, 5), 1200.0);
    EXPECT_DOUBLE_EQ(bib.memorySpectra[0].retentionIndex, 400.0);
    EXPECT_DOUBLE_EQ(bib.memorySpectra[0].retentionTime, 0.0);
    EXPECT_DOUBLE_EQ(bib.memorySpectra[2].retentionTime, 6.0);

    // The records now carry indices; the next calculation derives the same times from them.
    ComputeMSM(bib, MsmPass::Recalculation);
    EXPECT_NEAR(bib.run.retentionTime.Get(1, 5), 10.0, 1e-9);
}
