#include <gtest/gtest.h>

#include <cmath>

#include "LibraryFiles.h"
#include "RunFixtures.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "gcms/Msm.h"
#include "gcms/RetentionConversion.h"
#include "gcms/RunCommands.h"

using namespace kiv;
using namespace kiv::test;

TEST(Msm, RowsCutAtMaxMassAndOneTicScale)
{
    CBib bib;
    MakeRun(bib, {{10, 20, 0, 0, 0, 0, 0, 40}, {0, 5, 5, 0}});
    bib.parameters.msmMaxMass = 5;
    ComputeMSM(bib, MsmPass::First);
    const CRunData& run = bib.run;
    ASSERT_EQ(run.msm.Rows(), 2);
    ASSERT_EQ(run.msm.Cols(), 5);
    EXPECT_DOUBLE_EQ(run.msm.Get(1, 1), 25.0);
    EXPECT_DOUBLE_EQ(run.msm.Get(1, 2), 50.0);
    EXPECT_DOUBLE_EQ(run.msm.Get(1, 5), 0.0);  // mass 8 (the base peak) is beyond M
    EXPECT_DOUBLE_EQ(run.ibase.Get(1, 1), 40.0);
    // TIC over the whole vector, in absolute units: (25 + 50 + 100) * 40 * 0.01 = 70.
    EXPECT_DOUBLE_EQ(run.tic.Get(1, 1), 70.0);
    EXPECT_DOUBLE_EQ(run.tic.Get(1, 2), 10.0);
    EXPECT_DOUBLE_EQ(run.largestIbase, 40.0);
    EXPECT_DOUBLE_EQ(run.largestTic, 70.0);
    EXPECT_EQ(run.msmComputed, 1);
    EXPECT_EQ(bib.memorySpectra[0].tic, 0);  // the first pass leaves the records alone

    ComputeMSM(bib, MsmPass::Recalculation);
    EXPECT_DOUBLE_EQ(bib.run.tic.Get(1, 1), 70.0);  // the same scale in both passes
    EXPECT_EQ(bib.memorySpectra[0].tic, 70);
    EXPECT_EQ(bib.memorySpectra[1].tic, 10);

    bib.Reset();
    EXPECT_EQ(bib.run.msmComputed, 0);
    EXPECT_TRUE(bib.run.msm.IsEmpty());
}

TEST(Msm, RetentionConversions)
{
    CBib bib;
    bib.Reset();
    const CParameters& p = bib.parameters;
    EXPECT_NEAR(RetentionIndexFromTime(p, RetentionTimeFromIndex(p, 1000)), 1000.0, 1e-8);
    EXPECT_NEAR(RetentionIndexFromTime(p, RetentionTimeFromIndex(p, 2500)), 2500.0, 1e-8);
    EXPECT_NEAR(RetentionTimeFromIndex(p, 12345), 2.345, 1e-12);

    CParameters linear = p;
    linear.retXq = 0;
    linear.retXk = 0.01;
    linear.retXd = -2;
    EXPECT_DOUBLE_EQ(RetentionIndexFromTime(linear, 8), 1000.0);
    // A flat calibration and one without a real root fall back to the encoded time.
    linear.retXk = 0;
    EXPECT_DOUBLE_EQ(RetentionIndexFromTime(linear, 2.5), 12500.0);
    CParameters noRoot = p;
    noRoot.retXq = 1;
    noRoot.retXk = 0;
    noRoot.retXd = 5;
    EXPECT_DOUBLE_EQ(RetentionIndexFromTime(noRoot, 1), 11000.0);
}

TEST(Msm, ScansWithoutTimeTakeTheTimeOfTheirIndex)
{
    CBib bib;
    MakeRun(bib, {{1, 2}, {2, 1}}, {0.0, 3.5});
    bib.memorySpectra[0].retentionIndex = 12345;
    ComputeMSM(bib, MsmPass::First);
    EXPECT_NEAR(bib.run.retentionTime.Get(1, 1), 2.345, 1e-12);
    EXPECT_DOUBLE_EQ(bib.run.retentionIndex.Get(1, 1), 12345.0);
    EXPECT_DOUBLE_EQ(bib.run.retentionTime.Get(1, 2), 3.5);
}

TEST(Msm, EmptyAndSilentRuns)
{
    CRecordingReporter reporter;
    CBib bib;
    MakeRun(bib, {});
    ComputeMSM(bib, MsmPass::First);
    EXPECT_EQ(bib.run.msm.Rows(), 0);
    EXPECT_DOUBLE_EQ(bib.run.largestTic, 0.0);

    // Base-peak intensity 0 everywhere: a run without intensity, no division anywhere.
    MakeRun(bib, {{0, 0}, {0.2, 0.1}});
    ComputeMSM(bib, MsmPass::First);
    EXPECT_DOUBLE_EQ(bib.run.largestIbase, 0.0);
    EXPECT_DOUBLE_EQ(bib.run.largestTic, 0.0);
    CChromatogram chromatogram;
    CRecordingSession session;
    ShowLoadedRun(bib, chromatogram, RunSource::Import, session);
    ASSERT_EQ(chromatogram.traces.Rows(), 1);
    EXPECT_DOUBLE_EQ(chromatogram.traces.Get(1, 2), 0.0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(Msm, TracesAndTheLoadedRunPage)
{
    CBib bib;
    MakeRun(bib, {{10, 20}, {20, 10}, {5, 5}}, {1.0, 2.0, 3.0});
    CChromatogram chromatogram;
    // Without the MSM the trace is read from the records.
    const CMatrix fromRecords = MassTrace(bib, 1);
    EXPECT_DOUBLE_EQ(fromRecords.Get(1, 1), 50.0);
    EXPECT_DOUBLE_EQ(fromRecords.Get(1, 2), 100.0);
    EXPECT_DOUBLE_EQ(MassTrace(bib, 7).Get(1, 3), 0.0);

    CRecordingSession session;
    ShowLoadedRun(bib, chromatogram, RunSource::LibraryFile, session);
    EXPECT_EQ(session.status.back(), "BIB loaded MSM Calculation done");
    EXPECT_DOUBLE_EQ(chromatogram.xAxis.Get(1, 3), 3.0);
    EXPECT_DOUBLE_EQ(chromatogram.traces.Get(1, 1), 100.0);  // TIC 30 of 30
    EXPECT_DOUBLE_EQ(chromatogram.traces.Get(1, 3), 100.0 / 3);
    EXPECT_EQ(chromatogram.currentScan, 1);
    EXPECT_EQ(bib.currentBlock, 1);

    CHeadlessPrompter prompter;
    TraceMassCommand(bib, chromatogram, prompter);  // the default mass 43 lies beyond these spectra
    EXPECT_EQ(chromatogram.legends.back(), "Trace Mass 43 in chromatogram");
    EXPECT_DOUBLE_EQ(chromatogram.traces.Get(2, 1), 0.0);

    CRecordingReporter reporter;
    bib.run.msmComputed = 0;
    TraceMassFromMsmCommand(bib, chromatogram, prompter);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Calculate MSM");
    EXPECT_EQ(chromatogram.traces.Rows(), 3);

    MaxMassCommand(bib, prompter);
    EXPECT_EQ(bib.parameters.msmMaxMass, 550);
}

TEST(Msm, RunReadFromItsFileKeepsMassesAbove100)
{
    CScratchFolder folder;
    const std::string path = folder.Path("run");
    ASSERT_TRUE(WriteTestLibrary(path, {{{50, 20}, {150, 100}}, {{50, 100}, {120, 50}}}));
    CBib bib;
    ASSERT_TRUE(OpenTestLibrary(bib, path));
    ComputeMSM(bib, MsmPass::First);
    ASSERT_EQ(bib.run.msm.Rows(), 2);
    EXPECT_DOUBLE_EQ(bib.run.msm.Get(1, 150), 100.0);
    EXPECT_DOUBLE_EQ(bib.run.msm.Get(1, 50), 20.0);
    EXPECT_DOUBLE_EQ(bib.run.msm.Get(2, 120), 50.0);
}
