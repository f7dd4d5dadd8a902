#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChemometricsTestSupport.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "base/Session.h"
#include "chemometrics/DataSetCommands.h"
#include "matrix/CdmFile.h"

using namespace kiv;
using test::Rows;

namespace {

using Lines = std::vector<std::string>;

}  // namespace

TEST(DataSetCommands, ShowAndClear)
{
    CDataSet set;
    set.X = Rows({{1, 2, 3}, {4, 5, 6}});
    set.XObj = test::Sequence(2);
    set.XFeat = test::Sequence(3);
    set.YPred = Rows({{1}, {2}});
    CRecordingSession session;
    session.log.push_back("old");
    ShowDataCommand(set, session);
    EXPECT_EQ(session.log, (Lines{"Data: X 2x3   XU 0x0   Selection: Obj 2   ObjU 0   Feat 3",
                                  "Data: Y 0x0   YU 0x0   Selection: Feat 0", "Scores: X 0x0   XU 0x0",
                                  "Scores: Y 0x0   YU 0x0", "Prediction: Y 2x1   YU 0x0"}));
    ClearDataCommand(set, session);
    EXPECT_EQ(session.log[0], "Data: X 0x0   XU 0x0   Selection: Obj 0   ObjU 0   Feat 0");
    EXPECT_EQ(session.log[4], "Prediction: Y 0x0   YU 0x0");
    EXPECT_EQ(set.YPred.Rows(), 0);
}

TEST(DataSetCommands, SaveAndLoadMatrices)
{
    test::CScratchFolder folder;
    CDataSet set;
    set.X = Rows({{1, 2, 100}, {-4.5, 0, 1e-6}});
    test::CScriptedPrompter prompter;
    SaveDataCommand(set, SaveTarget::X, folder.Path("x.txt"), prompter);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].prompt, "Save X - " + CCdmFile::FormatChoice(0));
    EXPECT_EQ(prompter.prompts[0].valueText, "TEXT\t%12.5f");
    EXPECT_EQ(prompter.prompts[0].presets[0].caption, "TEXT %12.5f");
    EXPECT_EQ(prompter.prompts[0].presets[0].value, "TEXT\t%12.5f");
    EXPECT_EQ(test::ReadBytes(folder.Path("x.txt")),
              "     1.00000\t     2.00000\t   100.00000\r\n    -4.50000\t     0.00000\t     0.00000\r\n");

    // Loaded into Y unknowns as a text matrix; the index vectors stay.
    CRecordingSession session;
    set.YFeat = test::Sequence(7);
    LoadDataCommand(set, LoadTarget::YUnknown, folder.Path("x.txt"), prompter, session);
    EXPECT_EQ(session.log, (Lines{"Y unknown 2x3 loaded."}));
    EXPECT_EQ(set.YU.Get(2, 1), -4.5);
    EXPECT_EQ(set.YFeat.Cols(), 7);

    // A CDM of doubles round-trips exactly; no file chosen changes nothing.
    prompter.Answer("DOUBLE");
    SaveDataCommand(set, SaveTarget::X, folder.Path("x.cdm"), prompter);
    CDataSet other;
    LoadDataCommand(other, LoadTarget::X, folder.Path("x.cdm"), prompter, session);
    EXPECT_EQ(session.log.back(), "X 2x3 loaded.");
    EXPECT_EQ(other.X.Get(2, 3), 1e-6);
    LoadDataCommand(other, LoadTarget::X, "", prompter, session);
    EXPECT_EQ(session.log.size(), 2u);
    EXPECT_EQ(other.X.Rows(), 2);
}

TEST(DataSetCommands, LoadingANewMatrixTakesBackTheCentring)
{
    test::CScratchFolder folder;
    test::WriteBytes(folder.Path("xu.txt"), "2 20\r\n");
    CDataSet set;
    set.X = Rows({{-1, -10}, {1, 10}});
    set.XMean = Rows({{5, 50}});
    set.XU = Rows({{0, 0}});
    test::CScriptedPrompter prompter;
    CRecordingSession session;
    LoadDataCommand(set, LoadTarget::XUnknown, folder.Path("xu.txt"), prompter, session);
    // X is raw again and no stale mean is left: the next analysis centres X and XU together.
    EXPECT_EQ(set.XMean.Cols(), 0);
    EXPECT_EQ(set.X.Get(2, 2), 60.0);
    EXPECT_EQ(set.XU.Get(1, 2), 20.0);
}

TEST(DataSetCommands, DamagedMatrixFiles)
{
    test::CScratchFolder folder;
    test::CRecordingReporter reporter;
    CDataSet set;
    set.X = Rows({{1, 2, 3}, {4, 5, 6}});
    test::CScriptedPrompter prompter;
    prompter.Answer("FLOAT");
    SaveDataCommand(set, SaveTarget::X, folder.Path("x.cdm"), prompter);
    std::string bytes = test::ReadBytes(folder.Path("x.cdm"));
    // The header announces 2 x 3 floats, the file holds two and a half.
    test::WriteBytes(folder.Path("short.cdm"), bytes.substr(0, bytes.size() - 14));
    // A header announcing a billion rows over the same few bytes.
    std::string huge = bytes.substr(0, bytes.size() - 24);
    huge.replace(huge.find("2\t3"), 3, "1000000000\t3");
    test::WriteBytes(folder.Path("huge.cdm"), huge + bytes.substr(bytes.size() - 24));
    CRecordingSession session;
    CDataSet loaded;
    LoadDataCommand(loaded, LoadTarget::X, folder.Path("short.cdm"), prompter, session);
    LoadDataCommand(loaded, LoadTarget::Y, folder.Path("huge.cdm"), prompter, session);
    EXPECT_LE(loaded.X.Rows(), 2);
    EXPECT_LE(loaded.Y.Rows(), 2);
    EXPECT_FALSE(reporter.messages.empty());
}

TEST(DataSetCommands, FeatureListsAndImport)
{
    test::CScratchFolder folder;
    CDataSet set;
    set.X = Rows({{1, 2, 3}});
    set.XFeat.Alloc(1, 3);
    set.XFeat.SetFlat(1, -57);
    set.XFeat.SetFlat(2, 2);
    set.XFeat.SetFlat(3, 9);
    set.Y = Rows({{1, 0}});
    set.YFeat = test::Sequence(2);
    const std::vector<std::string> names = {"first", "second"};
    CRecordingSession session;
    ShowFeaturesCommand(set, DataMatrix::X, names, session);
    EXPECT_EQ(session.log, (Lines{"3 Selected X Features", "#000001 M000057", "#000002 F000002 second", "#000003 F000009"}));
    test::CScriptedPrompter prompter;
    prompter.files.push_back(folder.Path("y.txt"));
    SaveFeaturesCommand(set, DataMatrix::Y, names, "", prompter, session);
    EXPECT_EQ(prompter.fileRequests[0].title, "Save Features as Text:");
    EXPECT_EQ(session.log.back(), "Save 2 Selected Y Features");
    EXPECT_EQ(test::ReadBytes(folder.Path("y.txt")), "#000001 000001\r\n#000002 000002\r\n");

    test::WriteBytes(folder.Path("m.mat"), "title\r\n3 2\r\n1 2 3\r\n4 5 6\r\n1 1\r\n");
    set.XMean = Rows({{0, 0, 0}});
    ImportDataCommand(set, folder.Path("m.mat"), prompter, session);
    EXPECT_EQ(set.X.Rows(), 2);
    EXPECT_EQ(set.XClass.Get(2, 1), 2);
    EXPECT_EQ(set.XMean.Cols(), 0);
    EXPECT_EQ(session.log.back(), "Class Numbers found.");
}
