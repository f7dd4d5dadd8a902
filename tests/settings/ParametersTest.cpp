#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/Parameters.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

CParameters Defaults()
{
    CParameters parameters;
    parameters.ResetOnFirstUse();
    return parameters;
}

CParameters Load(const CScratchFolder& folder, const std::string& text, CParameters parameters = Defaults())
{
    WriteBytes(folder.Path("p.ini"), text);
    CHeadlessPrompter prompter;
    EXPECT_EQ(LoadParameters(parameters, folder.Path("p.ini"), prompter), FileResult::Done);
    return parameters;
}

}  // namespace

TEST(Parameters, DefaultsAreSetOnlyOnTheFirstReset)
{
    CParameters parameters;
    EXPECT_EQ(parameters.msmMaxMass, 0);
    parameters.ResetOnFirstUse();
    EXPECT_EQ(parameters.msmMaxMass, 550);
    EXPECT_EQ(parameters.noHits, 100);
    EXPECT_EQ(parameters.simCriterion, 1);
    EXPECT_DOUBLE_EQ(parameters.retXq, -5.40326704545e-07);
    EXPECT_EQ(parameters.msMNbyte, 4);
    parameters.noHits = 7;
    parameters.ResetOnFirstUse();
    EXPECT_EQ(parameters.noHits, 7);
}

TEST(Parameters, SavedFileHasTheExactLayout)
{
    CScratchFolder folder;
    CParameters parameters = Defaults();
    parameters.retPoints.Alloc(2, 2);
    parameters.retPoints.Set(1, 1, 800);
    parameters.retPoints.Set(2, 1, 1.5);
    parameters.retPoints.Set(1, 2, 1200.4);
    parameters.retPoints.Set(2, 2, 7.25);
    parameters.simFeatSelText = " 1-3";
    CHeadlessPrompter prompter;
    ASSERT_EQ(SaveParameters(parameters, folder.Path("out.ini"), 120, prompter), FileResult::Done);
    EXPECT_EQ(ReadBytes(folder.Path("out.ini")),
              "// GUI\r\nGUIZoom=120\r\n\r\n"
              "// MS Matrix\r\nMSMMaxMass=550\r\n"
              "// Display\r\nDisplayI=0.100000\r\nDisplayLibHits=10\r\n"
              "// Peak Detection\r\nPeakDetectionWidth=2\r\nPeakDetectionMasses=2\r\nPeakHeightThreshold=0.5\r\n\r\n"
              "// Baseline Subtraction\r\nBaselineSelectionI=0.01\r\n"
              "Warning BaselineSelectionI is 1/100 of value in ro_gcms.ini\r\n"
              "BaselineSelectionRatio=0.2\r\nBaselineStartMinima=1\r\nBaselineWidth=50\r\n"
              "// Retention Calibration of Retention IndeX\r\n"
              "RetX_q=-5.40326704545e-07\r\nRetX_k=0.00662660162879\r\nRetX_d=-3.91909766667\r\n"
              "Ret_Use=1\r\nRet_Radius=0.3\r\nRet_Deviation=0.2\r\n"
              "// Start Calibration Points (retentionindex retentiontime)\r\nRet_Points=2\r\n"
              "   800\t    1.500000\r\n  1200\t    7.250000\r\n"
              "// End of Calibration Points\r\nRet_Calc=0\r\n"
              "// MS Import Mass rounding\r\n"
              "// Parameters\tmint = round( (morig - mmfa) / mmff )\tmi = +/- (mfia + mfif*m^mfip)\r\n"
              "MS_mmfa=0.2\r\nMS_mmff=0\r\nMS_mfia=0.5\r\nMS_mfif=0\r\nMS_mfip=1\r\n"
              "MS_spectrum=1\r\nMS_m_vector=1\r\nMS_m_nbyte=4\r\nMS_m_ndec=3\r\n"
              "// Spectral Similarity Search\r\nNo Hits=100\r\nDel ident Hit1=1\r\nSim Criterion=1\r\n"
              "// correlation using (0/0), 1 = 4\r\n// 1 ... correlation lMaxMass\r\n"
              "// 2 ... correlation fit (masses of unknown)\r\n// 3 ... correlation rfit (masses of reference)\r\n"
              "// 4 ... correlation pure (masses of unknown or reference)\r\n// 7 ... Siscom best candidates\r\n"
              "// 8 ... Siscom method 1 (easy)\r\n// 9 ... Siscom method 2 (complicated)\r\n"
              "Sim Trans exp I=1\r\nSim Trans exp m=0\r\nSim Feat Sel= 1-3\r\n\r\n"
              "// Subtraction\r\nSubtractionPeakWidth=8\r\nSubtractionMode=0\r\n");
}

TEST(Parameters, SaveAndLoadGiveTheSameSet)
{
    CScratchFolder folder;
    CParameters saved = Defaults();
    saved.msmMaxMass = 800;
    saved.displayI = 0.25;
    saved.peakHeightThreshold = 0.12345678901234;  // 14 significant digits survive "%0.14g"
    saved.retXq = -1.25e-7;
    saved.retCalc = 2;
    saved.retPoints.Alloc(2, 3);
    for (int i = 1; i <= 3; ++i) {
        saved.retPoints.Set(1, i, 100.0 * i);
        saved.retPoints.Set(2, i, 0.5 * i);
    }
    saved.msMfif = 0.01253872;
    saved.noHits = 20;
    saved.simTransExpI = 0.5;
    saved.simFeatSelText = " 2,4 6-8";
    saved.subtractionMode = 101;
    CHeadlessPrompter prompter;
    ASSERT_EQ(SaveParameters(saved, folder.Path("s.ini"), 100, prompter), FileResult::Done);
    CParameters loaded = Defaults();
    ASSERT_EQ(LoadParameters(loaded, folder.Path("s.ini"), prompter), FileResult::Done);
    EXPECT_EQ(loaded.msmMaxMass, 800);
    EXPECT_EQ(loaded.displayI, 0.25);
    EXPECT_EQ(loaded.peakHeightThreshold, 0.12345678901234);
    EXPECT_EQ(loaded.retXq, -1.25e-7);
    EXPECT_EQ(loaded.retCalc, 2);
    ASSERT_EQ(loaded.retPoints.Cols(), 3);
    EXPECT_EQ(loaded.retPoints.Get(1, 3), 300.0);
    EXPECT_EQ(loaded.retPoints.Get(2, 3), 1.5);
    EXPECT_EQ(loaded.msMfif, 0.01253872);
    EXPECT_EQ(loaded.noHits, 20);
    EXPECT_EQ(loaded.simTransExpI, 0.5);
    EXPECT_EQ(loaded.simFeatSelText, " 2,4 6-8");
    EXPECT_EQ(loaded.simFeatSel, (std::vector<int32_t>{2, 4, 6, 7, 8}));
    EXPECT_EQ(loaded.subtractionMode, 101);
}

TEST(Parameters, KeyModeEdgeCases)
{
    CScratchFolder folder;
    CParameters p = Load(folder,
                         "  // a comment line = ignored\n"
                         "no hits   =  33  // comment\n"
                         "MS_mode=6\n"
                         "MS_mmfa = 0.1\n"
                         "Sim Feat Sel = 3-1\n"
                         "Sim Criterion = x\n"
                         "MSMMaxMass=0\n"
                         "Ret_Points=3\n"
                         "1000 5.5\n"
                         "// comment-only line is a point\n");
    EXPECT_EQ(p.noHits, 33);
    EXPECT_EQ(p.msMmfa, 0.1);
    EXPECT_EQ(p.msMmff, 1.0003);
    EXPECT_EQ(p.msMfia, 0.0);
    EXPECT_EQ(p.msMfif, 0.01253872);
    EXPECT_EQ(p.msMfip, 0.5566414);
    EXPECT_EQ(p.simFeatSel, std::vector<int32_t>{1});
    EXPECT_EQ(p.simCriterion, 0);
    EXPECT_EQ(p.msmMaxMass, 550);  // 0 would mark a fresh set
    ASSERT_EQ(p.retPoints.Cols(), 3);
    EXPECT_EQ(p.retPoints.Get(1, 1), 1000.0);
    EXPECT_EQ(p.retPoints.Get(2, 1), 5.5);
    EXPECT_EQ(p.retPoints.Get(1, 2), 0.0);
    EXPECT_EQ(p.retPoints.Get(2, 3), 0.0);  // fewer point lines than announced

    p = Load(folder, "Ret_Points=0\nNo Hits=5\nDel ident Hit1=0\nMS_mode=1\nSim Feat Sel=1,2,\n");
    EXPECT_EQ(p.noHits, 100);  // the line after "Ret_Points=0" is skipped
    EXPECT_EQ(p.delIdentHit1, 0);
    EXPECT_EQ(p.msMmfa, 0.2);
    EXPECT_EQ(p.simFeatSel, (std::vector<int32_t>{1, 2}));

    p = Load(folder, "Ret_Points=2000000000\n1 2\n");
    EXPECT_EQ(p.retPoints.Cols(), 0);
}

TEST(Parameters, FilesAndDialogs)
{
    CScratchFolder folder;
    CParameters p = Defaults();
    CHeadlessPrompter prompter;
    EXPECT_EQ(LoadParameters(p, "", prompter), FileResult::NoFileChosen);
    EXPECT_EQ(SaveParameters(p, "", 100, prompter), FileResult::NoFileChosen);
    EXPECT_EQ(LoadParameters(p, folder.Path("missing.ini"), prompter), FileResult::CannotOpen);
    EXPECT_EQ(SaveParameters(p, folder.Path("no/such/folder.ini"), 100, prompter), FileResult::CannotOpen);

    CParameters from = Defaults(), to = Defaults();
    from.noHits = 12;
    from.retCalc = 3;
    from.subtractionMode = 200;
    from.simFeatSelText = "4-4";
    from.simFeatSel = {4};
    CopyParameters(from, to);
    EXPECT_EQ(to.noHits, 12);
    EXPECT_EQ(to.simFeatSelText, "4-4");
    EXPECT_EQ(to.retCalc, 0);
    EXPECT_EQ(to.subtractionMode, 0);
    EXPECT_TRUE(to.simFeatSel.empty());
}

TEST(Parameters, WindowSettings)
{
    CScratchFolder folder;
    CHeadlessPrompter prompter;
    CParameters working = Defaults(), reference = Defaults();
    {
        CRecordingReporter reporter;
        WindowSettings settings = ReadWindowSettings(folder.Path("Orvane.ini"), working, reference, prompter);
        EXPECT_EQ(reporter.messages, std::vector<std::string>{folder.Path("Orvane.ini") + " not found!"});
        EXPECT_EQ(settings.left, 20);
        EXPECT_EQ(settings.height, 740);
    }
    WriteBytes(folder.Path("Orvane.ini"), "GUIZoom=150\r\ngui let = 5\r\nGUI Height=600 // c\r\nNo Hits=9\r\n");
    WindowSettings settings = ReadWindowSettings(folder.Path("Orvane.ini"), working, reference, prompter);
    EXPECT_EQ(settings.zoom, 150);
    EXPECT_EQ(settings.left, 5);
    EXPECT_EQ(settings.top, 0);
    EXPECT_EQ(settings.height, 600);
    EXPECT_EQ(working.noHits, 9);
    EXPECT_EQ(reference.noHits, 9);
}
