#include <gtest/gtest.h>

#include <cmath>

#include "RunFixtures.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "gcms/CharacteristicCommands.h"
#include "gcms/CharacteristicSpectrum.h"
#include "gcms/Msm.h"
#include "gcms/PeakProfile.h"
#include "gcms/RunCommands.h"
#include "gcms/SpectrumFit.h"
#include "gcms/Subtraction.h"

using namespace kiv;
using namespace kiv::test;

namespace {

// Mass 1 around an apex at scan 5; mass 2 a constant base peak of 1000, so that the absolute
// intensity of mass 1 is its value here.
void ProfileRun(CBib& bib)
{
    const double mass1[] = {0, 10, 30, 20, 100, 50, 60, 5, 0};
    std::vector<std::vector<double>> scans;
    for (double v : mass1) scans.push_back({v, 1000});
    MakeRun(bib, scans);
    bib.parameters.peakDetectionWidth = 3;
    bib.parameters.subtractionPeakWidth = 2;
    ComputeMSM(bib, MsmPass::First);
}

// Compound A (masses 1..3) eluting at scan 30, compound B (masses 4..6) at scan 70.
std::vector<std::vector<double>> TwoCompoundRun()
{
    return GaussianRun(100, 6,
                       {{30, 1, 1000, 2}, {30, 2, 600, 2}, {30, 3, 300, 2}, {70, 4, 800, 2.5}, {70, 5, 400, 2.5},
                        {70, 6, 200, 2.5}},
                       0, 0);
}

double Absolute(const CBib& bib, int scan, int mass)
{
    return bib.run.msm.Get(scan, mass) * bib.run.ibase.Get(1, scan) / 100.0;
}

}  // namespace

TEST(PeakProfile, ShapesAreCutWhereTheyRiseAgain)
{
    CBib bib;
    ProfileRun(bib);
    const MassShape shape = ScaledMassShape(bib.run, 5, 1, 3);
    EXPECT_EQ(shape.values, (std::vector<double>{0, 0, 20, 100, 50, 0, 0}));
    EXPECT_EQ(shape.left, 1);
    EXPECT_EQ(shape.right, 1);
    EXPECT_TRUE(ScaledMassShape(bib.run, 1, 1, 3).values.empty());  // no intensity at the apex

    const CSupData items = AnalyseScan(bib.run, bib.parameters, 5);
    EXPECT_EQ(CheckCharacteristicItems(items), "");
    const CMatrix& profile = items.items[1].values;
    ASSERT_EQ(profile.Rows(), 5);
    ASSERT_EQ(profile.Cols(), 7);
    const double mean[] = {50, 50, 60, 100, 75, 50, 50};
    const double minimum[] = {0, 0, 20, 100, 50, 0, 0};
    for (int c = 1; c <= 7; ++c) {
        EXPECT_DOUBLE_EQ(profile.Get(1, c), mean[c - 1]) << c;
        EXPECT_DOUBLE_EQ(profile.Get(2, c), 2.0);
        EXPECT_DOUBLE_EQ(profile.Get(3, c), minimum[c - 1]);
        EXPECT_DOUBLE_EQ(profile.Get(4, c), 100.0);
    }
    EXPECT_NEAR(profile.Get(5, 3), std::sqrt(3200.0), 1e-9);
    EXPECT_DOUBLE_EQ(profile.Get(5, 4), 0.0);

    const CMatrix& table = items.items[0].values;
    ASSERT_EQ(table.Rows(), 2);
    EXPECT_DOUBLE_EQ(table.Get(1, 1), 1.0);
    EXPECT_DOUBLE_EQ(table.Get(1, 4), 20.0);
    const CMatrix& peaks = items.items[2].values;
    EXPECT_DOUBLE_EQ(peaks.Get(2, 1), 10.0);  // mass 1 at 10 % of the apex scan's base peak
    EXPECT_DOUBLE_EQ(peaks.Get(3, 2), 3.0);
    // Own shape within its uncut offsets, the mean profile beyond, nothing outside.
    EXPECT_DOUBLE_EQ(ProfileValue(items, 1, -1), 20.0);
    EXPECT_DOUBLE_EQ(ProfileValue(items, 1, -2), 50.0);
    EXPECT_DOUBLE_EQ(ProfileValue(items, 1, 3), 50.0);
    EXPECT_DOUBLE_EQ(ProfileValue(items, 1, 4), 0.0);

    CRecordingReporter reporter;
    CMatrix wrong(4, 7);
    EXPECT_FALSE(AddToPeakProfile(wrong, shape));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"PP not initilized!"});
    CMatrix unused = StartPeakProfile(1);
    FinishPeakProfile(unused);
    EXPECT_DOUBLE_EQ(unused.Get(3, 2), 0.0);

    CSupData other = items;
    other.items[1].name = "prof";
    EXPECT_EQ(CheckCharacteristicItems(other), "sup[1] != profile");
    other.items.pop_back();
    other.items[1].name = "profile";
    EXPECT_EQ(CheckCharacteristicItems(other), "sup[2] != profiledata");
}

TEST(PeakProfile, AnalyseCommands)
{
    CRecordingReporter reporter;
    CBib bib;
    MakeRun(bib, {{1, 2}, {2, 1}});
    CChromatogram chromatogram;
    CRecordingSession session;
    AnalyseCharacteristicSpectrumCommand(bib, chromatogram, AnalyseAction::Show, session);
    SelectCharacteristicSpectraCommand(bib, chromatogram, session);
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{"Calculate MSM", "Calculate MSM"}));

    ProfileRun(bib);
    chromatogram.currentScan = 5;
    AnalyseCharacteristicSpectrumCommand(bib, chromatogram, AnalyseAction::Show, session);
    EXPECT_EQ(session.log, (std::vector<std::string>{"profile 5 x 7", "cMS analysed"}));
    EXPECT_FALSE(SelectedForSubtraction(bib, 5));
    AnalyseCharacteristicSpectrumCommand(bib, chromatogram, AnalyseAction::Select, session);
    EXPECT_EQ(session.log.back(), "cMS analysed (sel)");
    EXPECT_TRUE(SelectedForSubtraction(bib, 5));
    EXPECT_EQ(chromatogram.selected.Find(5), 1);
    AnalyseCharacteristicSpectrumCommand(bib, chromatogram, AnalyseAction::Delete, session);
    EXPECT_EQ(session.log.back(), "cMS analysed (del)");
    EXPECT_FALSE(SelectedForSubtraction(bib, 5));
    chromatogram.currentScan = 0;
    AnalyseCharacteristicSpectrumCommand(bib, chromatogram, AnalyseAction::Show, session);
    EXPECT_EQ(session.log.back(), "cMS failed");
}

TEST(Subtraction, RemovesTheCompoundOverItsPeak)
{
    CRecordingReporter reporter;
    CBib run, reference;
    MakeRun(run, TwoCompoundRun());
    run.parameters.retUse = 0;
    CChromatogram chromatogram;
    CRecordingSession session;
    SubtractionCommand(run, reference, chromatogram, session);  // nothing selected: no change
    EXPECT_EQ(session.log.front(), "Selected 0 Subtraction Spectra, GCMS changed");
    EXPECT_EQ(session.log[1], "Ibase changed 1000 - 1000, 100.00%");

    SelectCharacteristicSpectraCommand(run, chromatogram, session);
    EXPECT_EQ(session.log.back(), "Selected 2 characteristic MS (old)");
    EXPECT_EQ(session.status.back(), "2 cMS");
    ASSERT_EQ(chromatogram.selected.Cols(), 2);
    EXPECT_EQ(chromatogram.selected.Get(1, 1), 30);
    EXPECT_EQ(chromatogram.selected.Get(1, 2), 70);
    SelectCharacteristicSpectra2Command(run, chromatogram, session);
    EXPECT_EQ(session.log.back(), "Selected 2 characteristic MS (new)");

    reference.Reset();
    SelectSubtractionSpectraCommand(run, reference, chromatogram, session);
    EXPECT_EQ(session.log.back(), "Selected 2 Subtraction Spectra, Reference changed");
    ASSERT_EQ(reference.header.blockCount, 2);
    EXPECT_EQ(reference.header.typ, "GC-MS Sub");
    EXPECT_EQ(reference.memoryNames[0].originNumber, 30);

    // Only compound A's scan is selected for subtraction.
    chromatogram.selected.RemoveValue(70);
    SelectSpectraForSubtractionCommand(run, chromatogram, session);
    EXPECT_EQ(SubtractionScans(run).Cols(), 1);
    SubtractionCommand(run, reference, chromatogram, session);
    EXPECT_EQ(session.status.back(), "1 spectrasubtracted");
    ASSERT_EQ(session.log.size(), 3u);
    EXPECT_EQ(session.log[0], "Selected 1 Subtraction Spectra, GCMS changed");
    EXPECT_EQ(session.log[2].substr(0, 12), "TIC changed ");
    for (int scan = 22; scan <= 38; ++scan) {
        for (int mass = 1; mass <= 3; ++mass) EXPECT_NEAR(Absolute(run, scan, mass), 0.0, 2.0) << scan << " " << mass;
    }
    EXPECT_NEAR(Absolute(run, 70, 4), 800.0, 1.0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(Subtraction, RefusalsAndUnusableReferences)
{
    CRecordingReporter reporter;
    CBib run, reference;
    MakeRun(run, TwoCompoundRun());
    run.parameters.retUse = 0;
    ComputeMSM(run, MsmPass::First);
    EXPECT_FALSE(SubtractAtScan(run, reference, 30));
    run.memorySup[29].empty = 0;
    run.memorySup[29].items.resize(2);
    EXPECT_FALSE(SubtractAtScan(run, reference, 30));
    run.memorySup[29] = AnalyseScan(run.run, run.parameters, 30);
    EXPECT_FALSE(SubtractAtScan(run, reference, 30));
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{"Not selected for Subtraction!", "sup.ndata",
                                                          "No Reference BIB opened!"}));

    // References without the shape items are never subtracted; a wrong second item is named.
    MakeRun(reference, {{100, 60, 30}, {100, 60, 30}});
    reference.memorySup[1] = run.memorySup[29];
    reference.memorySup[1].items[1].name = "other";
    reporter.messages.clear();
    const double before = Absolute(run, 30, 1);
    EXPECT_FALSE(SubtractAtScan(run, reference, 30));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Name"});
    EXPECT_DOUBLE_EQ(Absolute(run, 30, 1), before);

    // From the MSM (mode 100) at one scan: the apex is emptied at once.
    reference.memorySup[1].items[1].name = "profile";
    run.parameters.subtractionMode = 100;
    CChromatogram chromatogram;
    chromatogram.currentScan = 30;
    CRecordingSession session;
    SubtractCurrentSpectrumCommand(run, reference, chromatogram, session);
    EXPECT_NEAR(Absolute(run, 30, 1), 0.0, 1.0);
    EXPECT_NEAR(Absolute(run, 30, 2), 0.0, 1.0);
    EXPECT_EQ(chromatogram.traces.Rows(), 1);

    CBib disk;
    disk.Reset();
    SubtractionCommand(disk, reference, chromatogram, session);
    EXPECT_EQ(reporter.messages.back(), "Open BIB GC/MS!");
}

TEST(Subtraction, HostileSettingsAndPeakTables)
{
    CRecordingReporter reporter;
    CBib run;
    MakeRun(run, TwoCompoundRun());
    run.parameters.msmMaxMass = 1000000000;
    run.parameters.peakDetectionWidth = 2000000000;
    ComputeMSM(run, MsmPass::First);
    EXPECT_EQ(run.run.msm.Cols(), kHeaviestMass);
    const CSupData items = AnalyseScan(run.run, run.parameters, 30);
    ASSERT_EQ(items.items.size(), 3u);
    EXPECT_EQ(items.items[1].values.Cols(), 2 * 100 + 1);  // the width is cut to the run

    CMatrix peaks(2, 5);
    const double masses[] = {std::nan(""), 1e300, -1e300, 1, 2};
    for (int k = 1; k <= 5; ++k) {
        peaks.Set(1, k, masses[k - 1]);
        peaks.Set(2, k, 50);
    }
    EXPECT_DOUBLE_EQ(FitProfile(run.run, 30, peaks).fit, 0.0);  // two usable masses only
    EXPECT_TRUE(reporter.messages.empty());

    CQueuePrompter prompter;
    prompter.answers = {"70000"};
    MaxMassCommand(run, prompter);
    EXPECT_EQ(run.parameters.msmMaxMass, 1000000000);  // refused, unchanged
}
