#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LibraryFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "base/Progress.h"
#include "base/Session.h"
#include "features/FeatureCommands.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::CScriptedPrompter;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

const char* const kStreamPrompt =
    "Enter Savemode:\n-10\twith header\n-1\ttext %20.15f\n-3\ttext %20.5f\n0\ttext %12.5f\n1\tfloat32\n"
    "2\tuint8 0-255\n";
const char* const kSavePrompt =
    "Enter Savemode:\n-10\tChemometric Data Matrix\n-5\tDragon text\n-1\ttext %20.15f\n0\ttext %12.5f\n"
    "1\tfloat32\n2\tuint8 0-255\n";

// A cancel button pressed at the given report.
class CCancellingDialog : public CProgressDialog {
public:
    explicit CCancellingDialog(int cancelAt) : cancelAt_(cancelAt) {}
    void SetPercent(int value) override { percents.push_back(value); }
    void SetText(const std::string&) override {}
    bool Cancelled() const override { return static_cast<int>(percents.size()) >= cancelAt_; }
    void Close() override {}
    std::vector<int> percents;

private:
    int cancelAt_;
};

// Three blocks: a spectrum, a block without one, and one whose peak above m/z 100 is cut away
// when read for analysis.
class FeatureCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::WriteTestLibrary(folder.Path("lib.ssd"), {{{41, 100}, {43, 50}}, {}, {{43, 80}, {120, 100}}}));
        ASSERT_TRUE(test::OpenTestLibrary(bib, folder.Path("lib.ssd")));
        ASSERT_EQ(bib.header.blockCount, 3);
        set.lines = {"IM 41,43"};
    }
    CScratchFolder folder;
    CBib bib;
    FeatureDefinitionSet set;
    CScriptedPrompter prompter;
    CRecordingSession session;
};

}  // namespace

TEST_F(FeatureCommands, WriteFeaturesForBibStreamsOneRowPerRecord)
{
    CRecordingReporter reporter;
    prompter.answers = {{true, "-5"}};
    prompter.files = {folder.Path("rows.txt")};
    WriteFeaturesForBib(bib, set, prompter, session);

    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].prompt, kStreamPrompt);
    EXPECT_EQ(prompter.prompts[0].valueText, "0");
    const std::vector<std::pair<std::string, std::string>> presets = {
        {"with header", "-10"}, {"Text %20.15", "-1"}, {"Text %20.5", "-3"},
        {"Text %12.5", "0"},    {"Float32", "1"},      {"UInt8", "2"}};
    ASSERT_EQ(prompter.prompts[0].presets.size(), presets.size());
    for (size_t k = 0; k < presets.size(); ++k) {
        EXPECT_EQ(prompter.prompts[0].presets[k].caption, presets[k].first);
        EXPECT_EQ(prompter.prompts[0].presets[k].value, presets[k].second);
    }
    EXPECT_EQ(set.saveMode, -5);
    EXPECT_EQ(session.status, std::vector<std::string>{"writing features ..."});
    EXPECT_EQ(session.log, std::vector<std::string>{"2 features written for 3 spectra"});
    EXPECT_EQ(session.redraws, 1);
    // The block without a spectrum gets zeros, not the features of the block before it.
    EXPECT_EQ(ReadBytes(folder.Path("rows.txt")),
              "Features\r\n3\t2\t0\r\nName\t1\t2\r\n"
              "1\t   100.00000\t    50.00000\r\n2\t     0.00000\t     0.00000\r\n3\t     0.00000\t   100.00000\r\n");
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(set.outputOpen, 0);
    EXPECT_TRUE(set.outputFile.empty());
}

TEST_F(FeatureCommands, WriteFeaturesForBibAsCdm)
{
    prompter.answers = {{true, "-10"}};  // the format dialog then keeps its default
    prompter.files = {folder.Path("out")};
    WriteFeaturesForBib(bib, set, prompter, session);
    ASSERT_EQ(prompter.prompts.size(), 2u);
    EXPECT_EQ(prompter.prompts[1].valueText, "TEXT\t%12.5f");
    EXPECT_EQ(set.outputFile, folder.Path("out.cdm"));
    EXPECT_EQ(ReadBytes(folder.Path("out.cdm")),
              "/CDM\t0\r\n/ROWSCOLS\t1\r\n3\t2\r\n/FORMAT\t1\r\nTEXT\t%12.5f\r\n/FEATDEF\t1\r\nIM 41,43\r\n"
              "/BIBFILE\t1\r\n" +
                  folder.Path("lib.ssd") +
                  "\r\n/DATA\t3\r\n   100.00000\t    50.00000\r\n     0.00000\t     0.00000\r\n     0.00000\t   100.00000\r\n");
    EXPECT_EQ(session.log, std::vector<std::string>{"2 features written for 3 spectra"});
}

TEST_F(FeatureCommands, WriteFeaturesForBibCancels)
{
    // No library: only the status.
    CBib none;
    WriteFeaturesForBib(none, set, prompter, session);
    EXPECT_EQ(session.status, std::vector<std::string>{"load BIB first!"});
    EXPECT_TRUE(prompter.prompts.empty());

    // Cancel at the save mode: nothing at all.
    prompter.answers = {{false, ""}};
    WriteFeaturesForBib(bib, set, prompter, session);
    EXPECT_TRUE(session.log.empty());
    EXPECT_EQ(set.saveMode, 0);

    // Cancel in the file dialog, and definitions that are missing: "canceled".
    prompter.answers = {{true, "1"}};
    WriteFeaturesForBib(bib, set, prompter, session);
    FeatureDefinitionSet empty;
    prompter.answers = {{true, "1"}};
    prompter.files = {folder.Path("never.bin")};
    WriteFeaturesForBib(bib, empty, prompter, session);
    EXPECT_EQ(session.log, (std::vector<std::string>{"canceled", "canceled"}));
    EXPECT_FALSE(test::ReadBytes(folder.Path("never.bin")).size() > 0);

    // The user cancels the progress dialog at the second report: one row was written.
    CCancellingDialog dialog(2);
    SetProgressDialog(&dialog);
    prompter.answers = {{true, "2"}};
    prompter.files = {folder.Path("part.bin")};
    WriteFeaturesForBib(bib, set, prompter, session);
    SetProgressDialog(nullptr);
    EXPECT_EQ(dialog.percents, (std::vector<int>{33, 66}));
    EXPECT_EQ(ReadBytes(folder.Path("part.bin")), std::string("\xff\x80", 2));
    EXPECT_EQ(session.log.back(), "2 features written for 1 spectra");
}

TEST_F(FeatureCommands, SaveAndSetSavemode)
{
    prompter.answers = {{false, ""}, {true, "1"}};
    EXPECT_FALSE(SetSaveMode(set, prompter));
    EXPECT_EQ(set.saveMode, 0);
    EXPECT_TRUE(SetSaveMode(set, prompter));
    EXPECT_EQ(set.saveMode, 1);
    EXPECT_EQ(prompter.prompts[0].prompt, kSavePrompt);
    ASSERT_EQ(prompter.prompts[0].presets.size(), 6u);
    EXPECT_EQ(prompter.prompts[0].presets[0].caption, "CDM");
    EXPECT_EQ(prompter.prompts[0].presets[1].caption, "Dragon");
    EXPECT_EQ(prompter.prompts[0].presets[1].value, "-5");
    EXPECT_TRUE(prompter.fileRequests.empty());

    set.ResizeFeatures(1, 2);
    set.features.Set(1, 1, 50);
    prompter.answers = {{true, "2"}};
    prompter.files = {folder.Path("one.bin")};
    SaveFeatures(set, prompter);
    EXPECT_EQ(ReadBytes(folder.Path("one.bin")), std::string("\x80\x00", 2));

    // CDM: the format dialog defaults to FLOAT.
    prompter.answers = {{true, "-10"}};
    prompter.files = {folder.Path("m.cdm")};
    SaveFeatures(set, prompter);
    EXPECT_EQ(prompter.prompts.back().valueText, "FLOAT");
    EXPECT_EQ(ReadBytes(folder.Path("m.cdm")).substr(0, 54),
              "/CDM\t0\r\n/ROWSCOLS\t1\r\n1\t2\r\n/FORMAT\t1\r\nFLOAT\r\n/FEATDEF\t1");
}

TEST_F(FeatureCommands, CalculateFeatures)
{
    // Without definitions the file is asked for first.
    WriteBytes(folder.Path("def.txt"), "IM 41,43\r\nMD 2 1 100\r\n");
    set = FeatureDefinitionSet();
    prompter.files = {folder.Path("def.txt")};
    CalculateFeaturesForBib(bib, set, prompter, session);
    EXPECT_EQ(prompter.fileRequests.at(0).title, "Load Feature Definition:");
    EXPECT_EQ(session.status, std::vector<std::string>{"calculating features ..."});
    EXPECT_EQ(session.log, (std::vector<std::string>{"2 feature definitions loaded", "4 features generated for 3 blocks"}));
    ASSERT_EQ(set.features.Rows(), 3);
    ASSERT_EQ(set.features.Cols(), 4);
    EXPECT_EQ(set.features.Get(1, 2), 50);
    EXPECT_EQ(set.features.Get(1, 3), 100 + 50);  // odd masses 41 and 43
    EXPECT_EQ(set.features.Get(2, 3), 0);
    EXPECT_EQ(set.features.Get(3, 2), 100);

    bib.SelectBlock(1);
    CalculateFeaturesCurrentMs(bib, set, prompter, session);
    EXPECT_EQ(session.log.back(), "4 features generated for current MS");
    EXPECT_EQ(set.features.Rows(), 1);
    EXPECT_EQ(set.features.Get(1, 1), 100);

    // The in-memory spectra in one call; the current record has no spectrum.
    bib.SelectBlock(2);
    CMatrix spectra(2, 50);
    spectra.Set(1, 41, 20);
    spectra.Set(2, 43, 100);
    CalculateFeaturesForBibMem(bib, spectra, set, prompter, session);
    EXPECT_EQ(session.log.back(), "4 features generated for 2 blocks");
    ASSERT_EQ(set.features.Rows(), 2);
    EXPECT_EQ(set.features.Get(1, 1), 20);
    EXPECT_EQ(set.features.Get(2, 2), 100);

    CMatrix none;
    set.saveMode = 2;
    CalculateFeaturesForBibMem(bib, none, set, prompter, session);
    EXPECT_TRUE(set.lines.empty());
    EXPECT_EQ(set.saveMode, 0);
}

TEST(FeatureCommandsLibrary, FirstBlockWithoutSpectrumStillGivesTheColumns)
{
    CScratchFolder folder;
    ASSERT_TRUE(test::WriteTestLibrary(folder.Path("lib.ssd"), {{}, {{50, 100}}}));
    CBib bib;
    ASSERT_TRUE(test::OpenTestLibrary(bib, folder.Path("lib.ssd")));
    FeatureDefinitionSet set;
    set.lines = {"IM 50", "TYP ALL 31 800"};
    CScriptedPrompter prompter;
    CRecordingSession session;
    CRecordingReporter reporter;
    CalculateFeaturesForBib(bib, set, prompter, session);
    ASSERT_EQ(set.features.Rows(), 2);
    ASSERT_EQ(set.features.Cols(), 4);
    EXPECT_EQ(set.features.Get(1, 1), 0);
    EXPECT_EQ(set.features.Get(2, 1), 100);
    EXPECT_EQ(set.features.Get(2, 4), 100);  // EVEN
    EXPECT_TRUE(reporter.messages.empty());
}
