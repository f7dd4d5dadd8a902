#include <gtest/gtest.h>

#include <cmath>

#include "RunFixtures.h"
#include "TestSupport.h"
#include "base/Progress.h"
#include "base/Session.h"
#include "gcms/Baseline.h"
#include "gcms/Msm.h"
#include "gcms/PeakDetection.h"
#include "gcms/RunCommands.h"

using namespace kiv;
using namespace kiv::test;

namespace {

std::vector<std::vector<double>> OneMassRun(const std::vector<double>& values, double otherMass)
{
    std::vector<std::vector<double>> scans;
    for (double v : values) scans.push_back({v, otherMass});
    return scans;
}

}  // namespace

TEST(Baseline, ThinningRemovesAPeakNarrowerThanTheWidth)
{
    // Flat at 1 with a three-scan peak at scans 5..7 (0-based 4..6).
    const std::vector<double> y = {1, 1, 1, 1, 3, 6, 3, 1, 1, 1, 1};
    const std::vector<int> support = BaselineSupport(y, 50);
    for (int s : support) EXPECT_TRUE(s < 4 || s > 6) << s;
    EXPECT_EQ(support.front(), 0);
    EXPECT_EQ(support.back(), 10);
    const std::vector<double> b = BaselinePolygon(y, support);
    for (double v : b) EXPECT_DOUBLE_EQ(v, 1.0);
    // A width of 2 allows only direct neighbours around a candidate: the peak stays.
    const std::vector<int> narrow = BaselineSupport(y, 1);
    EXPECT_EQ(narrow.size(), y.size());
}

TEST(Baseline, PolygonInterpolatesBetweenSupportScans)
{
    const std::vector<double> y = {2, 9, 9, 8};
    const std::vector<double> b = BaselinePolygon(y, {0, 3});
    EXPECT_DOUBLE_EQ(b[0], 2.0);
    EXPECT_DOUBLE_EQ(b[1], 4.0);
    EXPECT_DOUBLE_EQ(b[2], 6.0);
    EXPECT_DOUBLE_EQ(b[3], 8.0);
    EXPECT_TRUE(BaselinePolygon({}, {}).empty());
}

TEST(Baseline, ConstantChromatogramIsAllBaseline)
{
    CRecordingReporter reporter;
    CBib bib;
    MakeRun(bib, OneMassRun(std::vector<double>(30, 40.0), 100.0));
    std::string status;
    const CMatrix baseline = CorrectBaseline(bib, 1, status);
    for (int i = 1; i <= 30; ++i) EXPECT_DOUBLE_EQ(baseline.Get(1, i), 40.0);
    EXPECT_EQ(status, "No Data in BIB was changed.");
    EXPECT_DOUBLE_EQ(bib.memorySpectra[0].vector.Get(1, 1), 40.0);  // checking changes nothing

    CorrectBaseline(bib, 0, status);
    EXPECT_EQ(status, "Baseline correction for 2/550 Masses done.");
    for (int i = 1; i <= 30; ++i) {
        EXPECT_NEAR(bib.run.msm.Get(i, 1), 0.0, 1e-9);
        EXPECT_NEAR(bib.run.tic.Get(1, i), 0.0, 1e-9);
    }
    EXPECT_EQ(bib.memorySpectra[0].tic, 0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(Baseline, RareMassKeepsZeroBaselineAndIsNotChanged)
{
    // Mass 1 reaches the selection intensity in 2 of 20 scans, fewer than 20 % of them.
    std::vector<double> values(20, 0.0);
    values[5] = 30;
    values[6] = 30;
    CBib bib;
    MakeRun(bib, OneMassRun(values, 100.0));
    bib.memorySpectra[0].vector.Set(1, 2, 0.0);  // mass 2 then lacks in scan 1 only
    std::string status;
    const CMatrix baseline = CorrectBaseline(bib, 1, status);
    for (int i = 1; i <= 20; ++i) EXPECT_DOUBLE_EQ(baseline.Get(1, i), 0.0);
    bib.parameters.msmMaxMass = 1;
    bib.run.msmComputed = 0;
    CorrectBaseline(bib, 0, status);
    EXPECT_EQ(status, "No Data in BIB was changed.");
    EXPECT_DOUBLE_EQ(bib.memorySpectra[5].vector.Get(1, 1), 30.0);
}

TEST(Baseline, GaussianPeaksOnDriftingBackground)
{
    CBib bib;
    MakeRun(bib, GaussianRun(200, 4, {{60, 1, 1000, 2.0}, {120, 2, 800, 3.0}, {120, 3, 400, 3.0}}, 50, 150));
    bib.parameters.baselineWidth = 40;
    CChromatogram chromatogram;
    CRecordingSession session;
    BaselineSubtractionCommand(bib, chromatogram, session);
    EXPECT_EQ(session.status.front(), "Calculating Baseline ...");
    EXPECT_EQ(session.status.back(), "Baseline Correction done");
    EXPECT_EQ(session.log.back(), "Baseline correction for 4/550 Masses done.");
    const CRunData& run = bib.run;
    // What is left is the peaks: absolute intensity MSM * Ibase / 100.
    auto absolute = [&](int scan, int mass) { return run.msm.Get(scan, mass) * run.ibase.Get(1, scan) / 100.0; };
    EXPECT_NEAR(absolute(60, 1), 1000.0, 15.0);
    EXPECT_NEAR(absolute(120, 2), 800.0, 15.0);
    EXPECT_NEAR(absolute(20, 1), 0.0, 1.0);
    EXPECT_NEAR(absolute(180, 4), 0.0, 1.0);
    EXPECT_NEAR(absolute(90, 3), 0.0, 1.0);
    EXPECT_EQ(chromatogram.traces.Rows(), 1);

    const CMatrixI peaks = DetectPeaks(bib.run, bib.parameters);
    ASSERT_EQ(peaks.Cols(), 1);  // two masses peak together only at scan 120
    EXPECT_EQ(peaks.Get(1, 1), 120);
    bib.parameters.peakDetectionMasses = 1;
    const CMatrixI single = DetectPeaks(bib.run, bib.parameters);
    ASSERT_EQ(single.Cols(), 2);
    EXPECT_EQ(single.Get(1, 1), 60);
}

TEST(Baseline, CheckBaselineAddsATraceAndReportsUndershootOnce)
{
    CRecordingReporter reporter;
    // Dips below the level make the envelope undershoot the data between its support scans.
    CBib bib;
    MakeRun(bib, OneMassRun({10, 10, 10, 10, 2, 10, 10, 10, 2, 10}, 100.0));
    bib.parameters.baselineWidth = 3;
    CChromatogram chromatogram;
    ComputeMSM(bib, MsmPass::First);
    ShowRun(bib, chromatogram);
    CHeadlessPrompter prompter;
    CRecordingSession session;
    CheckBaselineCommand(bib, chromatogram, prompter, session);
    EXPECT_EQ(chromatogram.legends.back(), "Show Baseline of Mass 43 in chromatogram");
    std::string status;
    CorrectBaseline(bib, 0, status);
    int undershoots = 0;
    for (const std::string& m : reporter.messages) undershoots += m.rfind("d_i = ", 0) == 0 ? 1 : 0;
    EXPECT_LE(undershoots, 1);
    for (const CMassSpectrum& s : bib.memorySpectra) {
        for (double v : s.vector.Flat()) EXPECT_GE(v, 0.0);
    }
}

TEST(Baseline, TinyRunsNeverFail)
{
    CRecordingReporter reporter;
    CBib bib;
    for (int n = 0; n <= 2; ++n) {
        MakeRun(bib, OneMassRun(std::vector<double>(static_cast<size_t>(n), 5.0), 10.0));
        std::string status;
        const CMatrix b = CorrectBaseline(bib, 0, status);
        EXPECT_EQ(b.Cols(), n);
        reporter.messages.clear();
        EXPECT_EQ(DetectPeaks(bib.run, bib.parameters).Cols(), 0);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], "MSM too small!");
    }
}

TEST(Baseline, CancelBeforeTheFirstMassChangesNothing)
{
    class CCancelledDialog : public CProgressDialog {
    public:
        void SetPercent(int) override {}
        void SetText(const std::string&) override {}
        bool Cancelled() const override { return true; }
        void Close() override {}
    } dialog;
    CBib bib;
    MakeRun(bib, OneMassRun(std::vector<double>(30, 40.0), 100.0));
    SetProgressDialog(&dialog);
    std::string status;
    CorrectBaseline(bib, 0, status);
    SetProgressDialog(nullptr);
    EXPECT_EQ(status, "No Data in BIB was changed.");
    EXPECT_DOUBLE_EQ(bib.memorySpectra[3].vector.Get(1, 1), 40.0);
}
