#include <gtest/gtest.h>

#include "RunFixtures.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "gcms/ForwardSearch.h"
#include "gcms/Msm.h"
#include "gcms/RetentionWindow.h"
#include "gcms/SpectrumFit.h"
#include "gcms/TargetSearch.h"

using namespace kiv;
using namespace kiv::test;

namespace {

CMatrix Vector(const std::vector<double>& values)
{
    CMatrix v(1, static_cast<int>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) v.Set(1, static_cast<int>(i) + 1, values[i]);
    return v;
}

// Run data of one scan given directly as MSM row (relative values), Ibase 100.
CRunData OneScan(const std::vector<double>& row)
{
    CRunData run;
    run.msm = Vector(row);
    run.ibase = Vector({100});
    run.tic = Vector({50});
    run.largestIbase = 100;
    run.largestTic = 100;
    run.retentionTime = Vector({1});
    return run;
}

}  // namespace

TEST(SpectrumFit, RatioUnderTheScanWithSkippedSmallPeaks)
{
    const CMatrix reference = Vector({100, 50, 20, 10});
    // Half the reference everywhere: Fit 50.
    const CRunData half = OneScan({50, 25, 10, 5});
    FitMeasures m = FitSpectrum(half, 1, reference);
    EXPECT_DOUBLE_EQ(m.fit, 50.0);
    EXPECT_DOUBLE_EQ(m.fitTic, 25.0);  // TIC 50 of 100, half of it
    EXPECT_DOUBLE_EQ(m.pure, 50.0 * 180 / 90);

    // Mass 4 (reference 10 <= 12, 10 / 105 of the scan's intensity <= 10 %) is missing: skipped.
    const CRunData missing = OneScan({50, 25, 30, 0});
    EXPECT_DOUBLE_EQ(FitSpectrum(missing, 1, reference).fit, 50.0);
    // At 10 / 95 the share is too large to skip.
    EXPECT_DOUBLE_EQ(FitSpectrum(OneScan({50, 25, 20, 0}), 1, reference).fit, 0.0);
    // With mass 3 (20 > 12) missing no skip is allowed.
    const CRunData big = OneScan({50, 25, 0, 5});
    EXPECT_DOUBLE_EQ(FitSpectrum(big, 1, reference).fit, 0.0);
    // Two usable masses (1.5 lies below the least intensity): Fit 0 however well they fit.
    EXPECT_DOUBLE_EQ(FitSpectrum(half, 1, Vector({100, 50, 1.5})).fit, 0.0);
    // Masses beyond the MSM read as 0; an empty scan divides by nothing.
    EXPECT_DOUBLE_EQ(FitSpectrum(half, 1, Vector({0, 0, 0, 0, 0, 100, 50, 20})).fit, 0.0);
    const CRunData silent = OneScan({0, 0, 0, 0});
    m = FitSpectrum(silent, 1, reference);
    EXPECT_DOUBLE_EQ(m.fit, 0.0);
    EXPECT_DOUBLE_EQ(m.pure, 0.0);

    // The peak-list form fits as the vector: Fit is scaled by its largest intensity.
    CMatrix peaks(2, 5);
    const double list[2][5] = {{1, 2, 3, 4, -200}, {100, 50, 20, 10, 90}};
    for (int k = 1; k <= 5; ++k) {
        peaks.Set(1, k, list[0][k - 1]);
        peaks.Set(2, k, list[1][k - 1]);
    }
    EXPECT_DOUBLE_EQ(FitProfile(half, 1, peaks).fit, 50.0);
    for (int k = 1; k <= 5; ++k) peaks.Set(2, k, peaks.Get(2, k) * 0.5);
    EXPECT_DOUBLE_EQ(FitProfile(half, 1, peaks).fit, 50.0);
}

TEST(SpectrumFit, RetentionWindows)
{
    CRunData run;
    run.retentionTime = Vector({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    CParameters p;
    p.SetDefaults();
    p.retXq = 0;
    p.retXk = 0.01;
    p.retXd = 0;  // index 500 elutes at 5.0
    p.retDeviation = 0;
    p.retRadius = 1;
    const ScanRange w = ScanWindow(run, p, 500);
    // 4.0 -> floor(3 * 10 / 9 + 0.5) + 1 = 4; 6.0 -> floor(5 * 10 / 9 + 0.5) + 1 = 7
    EXPECT_EQ(w.first, 4);
    EXPECT_EQ(w.last, 7);
    EXPECT_FALSE(w.illegal);
    EXPECT_EQ(ScanWindow(run, p, 50).first, 1);  // the start before the run maps to scan 1
    const ScanRange after = ScanWindow(run, p, 5000);
    EXPECT_EQ(after.first, 1);
    EXPECT_EQ(after.last, 10);
    EXPECT_TRUE(after.illegal);
    EXPECT_FALSE(ScanWindow(run, p, 0).illegal);  // no index: the whole run, silently
    p.retUse = 0;
    EXPECT_EQ(ScanWindow(run, p, 500).first, 1);
    p.retUse = 1;
    run.retentionTime = Vector({3, 3, 3});
    EXPECT_TRUE(ScanWindow(run, p, 500).illegal);
    run.retentionTime = Vector({3, 2, 1});
    const ScanRange falling = ScanWindow(run, p, 500);
    EXPECT_TRUE(falling.illegal);
    EXPECT_EQ(falling.last, 3);
}

TEST(SpectrumFit, TargetChromatogramAndForwardSearch)
{
    CRecordingReporter reporter;
    CBib bib;
    // Scan 3 holds the reference, scan 5 half of it on top of something else.
    MakeRun(bib, {{1, 0, 0, 0}, {0, 1, 0, 0}, {100, 50, 20, 0}, {0, 0, 0, 9}, {50, 25, 10, 100}},
            {1, 2, 3, 4, 5});
    ComputeMSM(bib, MsmPass::First);
    CBibRecord reference;
    reference.spectrum.vector = Vector({100, 50, 20});
    reference.spectrum.retentionIndex = 0;
    reference.name.name = "ethyl acetate";
    reference.name.origin = "LIB";
    reference.name.originNumber = 17;
    CMatrix target = TargetChromatogram(bib, reference);
    ASSERT_EQ(target.Cols(), 5);
    EXPECT_DOUBLE_EQ(target.Get(1, 1), 0.0);
    EXPECT_DOUBLE_EQ(target.Get(1, 3), 100.0 * 170 / 185);  // TIC 170 of the largest, 185
    EXPECT_DOUBLE_EQ(target.Get(1, 5), 185 * 50.0 / 185);
    EXPECT_TRUE(reporter.messages.empty());

    // An index with a window: -5 outside it (index 3 elutes at 3.0 with these coefficients).
    bib.parameters.retXq = 0;
    bib.parameters.retXk = 1;
    bib.parameters.retXd = 0;
    bib.parameters.retDeviation = 0;
    bib.parameters.retRadius = 0.5;
    reference.spectrum.retentionIndex = 3;
    target = TargetChromatogram(bib, reference);
    EXPECT_DOUBLE_EQ(target.Get(1, 1), kOutsideWindow);
    EXPECT_GT(target.Get(1, 3), 90.0);
    EXPECT_DOUBLE_EQ(target.Get(1, 5), kOutsideWindow);
    bib.parameters.retUse = 0;  // no window at all
    target = TargetChromatogram(bib, reference);
    for (int s = 1; s <= 5; ++s) EXPECT_GE(target.Get(1, s), 0.0);
    bib.parameters.retUse = 1;
    // Times that fall: no window, the whole run, and the message.
    for (int s = 1; s <= 5; ++s) bib.run.retentionTime.Set(1, s, 6.0 - s);
    target = TargetChromatogram(bib, reference);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Illegal retention time range!"});
    EXPECT_GT(target.Get(1, 3), 90.0);
    EXPECT_DOUBLE_EQ(target.Get(1, 1), 0.0);
    for (int s = 1; s <= 5; ++s) bib.run.retentionTime.Set(1, s, s);

    CForwardHitlist hitlist(2);
    EXPECT_DOUBLE_EQ(ForwardSearchStep(bib, 5, reference, 1, hitlist), 0.0);  // outside the window
    EXPECT_EQ(hitlist.Hits()[0].reference, 0);
    reference.spectrum.retentionIndex = 0;
    EXPECT_DOUBLE_EQ(ForwardSearchStep(bib, 5, reference, 1, hitlist), 50.0);
    ForwardHit better;
    better.reference = 2;
    better.measures.fitTic = 60;
    hitlist.Insert(better);
    ForwardHit equal = better;
    equal.reference = 3;
    hitlist.Insert(equal);  // after the equal entry: the 50 falls out
    EXPECT_EQ(hitlist.Hits()[0].reference, 2);
    EXPECT_EQ(hitlist.Hits()[1].reference, 3);
    ForwardHit weak = better;
    weak.reference = 4;
    hitlist.Insert(weak);  // not larger than the last: unchanged
    EXPECT_EQ(hitlist.Hits()[1].reference, 3);

    CForwardHitlist fresh(3);
    ForwardSearchStep(bib, 5, reference, 7, fresh);
    EXPECT_EQ(ForwardHitLines(1, fresh.Hits()[0]),
              (std::vector<std::string>{"Hit#1: Ref#7 LIB_17 FitTIC= 50.000 Fit= 50.000 Pure= 45.946",
                                        "Name: ethyl acetate"}));
}

TEST(SpectrumFit, CommandsNeedAReferenceLibraryAndAScan)
{
    CRecordingReporter reporter;
    CBib run, reference;
    MakeRun(run, {{10, 20, 30}, {30, 20, 10}, {5, 5, 5}});
    reference.Reset();
    CChromatogram chromatogram;
    CRecordingSession session;
    CQueuePrompter prompter;
    CForwardHitlist hitlist;
    TargetSearchCommand(run, reference, chromatogram, prompter, session);
    reference.inMemory = 1;
    TargetSearchCommand(run, reference, chromatogram, prompter, session);
    MakeRun(reference, {{10, 20, 30}, {5, 5, 5}});
    reference.memoryNames[0].name = "first";
    ForwardSearchCommand(run, reference, chromatogram, hitlist, session);
    prompter.answers = {"3"};
    TargetSearchCommand(run, reference, chromatogram, prompter, session);
    EXPECT_EQ(reporter.messages,
              (std::vector<std::string>{"No Reference BIB opened!", "Not enough spectra in Reference BIB!",
                                        "Select Spectrum in chromatogram!", "Not enough spectra in Reference BIB!"}));
    EXPECT_EQ(prompter.prompts.back(), "Enter # of Referece Spectrum:");

    EnsureMSM(run);
    ShowRun(run, chromatogram);
    TargetSearchCommand(run, reference, chromatogram, prompter, session);
    EXPECT_EQ(chromatogram.legends.back(), "Target Chromatogram for #1");
    EXPECT_EQ(chromatogram.text, (std::vector<std::string>{"Origin:  0", "Name: first"}));
    EXPECT_DOUBLE_EQ(chromatogram.traces.Get(2, 1), 100.0);

    chromatogram.currentScan = 1;
    ForwardSearchCommand(run, reference, chromatogram, hitlist, session);
    ASSERT_EQ(session.log.size(), 5u);
    EXPECT_EQ(session.log[0], "Forward Search of Chromatogram for #1");
    EXPECT_EQ(session.log[1].substr(0, 15), "Hit#1: Ref#1 _0");
    EXPECT_EQ(session.log[3].substr(0, 15), "Hit#2: Ref#2 _0");
}
