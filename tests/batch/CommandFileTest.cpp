#include <gtest/gtest.h>

#include "TestSupport.h"
#include "batch/CommandFile.h"
#include "settings/NumberList.h"
#include "batch/TaskSelection.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::WriteBytes;

namespace {

CRunSettings ReadSettings(const CScratchFolder& folder, const std::string& text)
{
    std::string path = folder.Path("command.txt");
    WriteBytes(path, text);
    CRunSettings settings;
    EXPECT_TRUE(ReadCommandFile(path, settings));
    return settings;
}

std::vector<int32_t> Numbers(const std::string& text)
{
    std::vector<int32_t> list{99};
    ParseNumberList(text, list);
    return list;
}

}  // namespace

TEST(CommandFile, KeysValuesAndComments)
{
    CScratchFolder folder;
    CRunSettings settings = ReadSettings(folder,
                                         "bib file  =  lib.ssd\r\n"
                                         "Feature File\r\n"  // no "=": a plain line
                                         "=Result File=x\r\n"  // starts with "=": a plain line
                                         "No Hits = 25   // twenty-five\r\n"
                                         "Result File = res.txt   // keeps the blanks\r\n"
                                         "Savemode = abc\r\n"
                                         "Unknown Key = 5\r\n"
                                         "Max Mass = 300\r\n"
                                         "MAX MASS = 400\r\n");
    EXPECT_EQ(settings.bibFile, "lib.ssd");
    EXPECT_EQ(settings.featureFile, "");
    EXPECT_EQ(settings.noHits, 25);
    EXPECT_EQ(settings.resultFile, "res.txt   ");
    EXPECT_EQ(settings.saveMode, 0);
    EXPECT_EQ(settings.maxMass, 400);
    EXPECT_EQ(settings.randomRuns, 1);
    EXPECT_EQ(settings.importKind, ImportKind::None);
}

TEST(CommandFile, ImportKeysCollectInputFiles)
{
    CScratchFolder folder;
    CRunSettings settings = ReadSettings(folder,
                                         "first.jdx\n"  // before the import key: ignored
                                         "Import JCAMP =  a.jdx\n"
                                         "   b.jdx\n"
                                         "\n"
                                         "c.jdx\n"
                                         "BIB File = lib.ssd\n"
                                         "d.jdx\n");
    EXPECT_EQ(settings.importKind, ImportKind::Jcamp);
    EXPECT_EQ(settings.inputFiles, (std::vector<std::string>{"a.jdx", "b.jdx", "c.jdx"}));

    settings = ReadSettings(folder, "Import COSCALIB\nx.txt\n");
    EXPECT_EQ(settings.importKind, ImportKind::None);
    EXPECT_TRUE(settings.inputFiles.empty());
    settings = ReadSettings(folder, "import coscalib = ignored\nx.txt\n");
    EXPECT_EQ(settings.importKind, ImportKind::CosCalib);
    EXPECT_EQ(settings.inputFiles, (std::vector<std::string>{"x.txt"}));
    settings = ReadSettings(folder, "Import NETCDF = run.cdf\n");
    EXPECT_EQ(settings.importKind, ImportKind::Netcdf);
    EXPECT_EQ(settings.inputFiles, (std::vector<std::string>{"run.cdf"}));
    settings = ReadSettings(folder, "import msp = a.msp\nb.msp\n");
    EXPECT_EQ(settings.importKind, ImportKind::Msp);
    EXPECT_EQ(settings.inputFiles, (std::vector<std::string>{"a.msp", "b.msp"}));
}

TEST(CommandFile, LongLinesAreReadWhole)
{
    CScratchFolder folder;
    // A path of 300 characters stays one path; the text after it is part of the value.
    const std::string path = "/data/" + std::string(294, 'r');
    std::string line = "Result File = " + path + "\n" + "BIB File = " + std::string(65000, 'b') + "\n";
    CRunSettings settings = ReadSettings(folder, line);
    EXPECT_EQ(settings.resultFile, path);
    EXPECT_EQ(settings.bibFile, std::string(65000, 'b'));
}

TEST(CommandFile, UnknownKeysStrayLinesAndFoldersAreReported)
{
    CScratchFolder folder;
    kiv::test::CRecordingReporter reporter;
    CRunSettings settings = ReadSettings(folder, "Import JCMAP = a.jdx\nb.jdx\n\n   // comment\nImport JCAMP\n");
    EXPECT_TRUE(settings.inputFiles.empty());
    EXPECT_EQ(settings.importKind, ImportKind::None);
    const std::vector<std::string> expected = {"Unknown key Import JCMAP ignored", "Line ignored: b.jdx",
                                               "Line ignored: Import JCAMP"};
    EXPECT_EQ(reporter.messages, expected);

    reporter.messages.clear();
    EXPECT_FALSE(ReadCommandFile(folder.Root(), settings));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Invalid command file name " + folder.Root() + "!"});
}

TEST(CommandFile, SimFeatSelKeepsTextAndParsesList)
{
    CScratchFolder folder;
    CRunSettings settings = ReadSettings(folder, "Sim Feat Sel = 1,3 5-9\n");
    EXPECT_TRUE(settings.simFeatSelGiven);
    EXPECT_EQ(settings.simFeatSelText, " 1,3 5-9");
    EXPECT_EQ(settings.simFeatSel, (std::vector<int32_t>{1, 3, 5, 6, 7, 8, 9}));
}

TEST(CommandFile, MissingFileIsReported)
{
    kiv::test::CRecordingReporter reporter;
    CRunSettings settings;
    EXPECT_FALSE(ReadCommandFile("/nonexistent/cmd.txt", settings));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Invalid command file name /nonexistent/cmd.txt!");
}

TEST(NumberList, ListsRangesAndSeparators)
{
    EXPECT_EQ(Numbers("1,3 5-9"), (std::vector<int32_t>{1, 3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Numbers("1,2,"), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(Numbers("3-1"), (std::vector<int32_t>{1}));
    EXPECT_EQ(Numbers("0-3"), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Numbers("4,4,,x,-2"), (std::vector<int32_t>{4, 4, 1, 2}));  // "-2" is the range 0 to 2
    EXPECT_EQ(Numbers(""), (std::vector<int32_t>{}));
    EXPECT_EQ(Numbers("7"), (std::vector<int32_t>{7}));
    EXPECT_EQ(Numbers("5-"), (std::vector<int32_t>{5}));
    // A huge range is cut at the list limit instead of exhausting the memory.
    EXPECT_EQ(Numbers("1-2000000000").size(), kMaxNumberListLength + 1);
}

TEST(TaskSelection, RulesApplyInOrder)
{
    CRunSettings s;
    EXPECT_EQ(ChooseTask(s), TaskKind::None);
    s.resultFile = "r.txt";
    EXPECT_EQ(ChooseTask(s), TaskKind::HitStatistics);
    s.featureFile = "f.txt";
    s.importKind = ImportKind::Jcamp;
    EXPECT_EQ(ChooseTask(s), TaskKind::HitStatistics);  // no library: always hit statistics
    s.bibFile = "lib.ssd";
    EXPECT_EQ(ChooseTask(s), TaskKind::FeatureGeneration);
    s.featureFile.clear();
    EXPECT_EQ(ChooseTask(s), TaskKind::Import);
    s.importKind = ImportKind::None;
    s.descriptorFile = "d.txt";
    EXPECT_EQ(ChooseTask(s), TaskKind::None);
    s.randomPairs = 10;
    EXPECT_EQ(ChooseTask(s), TaskKind::RandomPairsEvaluation);
    s.testIndexFile = "t.txt";
    EXPECT_EQ(ChooseTask(s), TaskKind::VectorSimilarityEvaluation);
    s.simCriterion = 2;
    EXPECT_EQ(ChooseTask(s), TaskKind::CriterionEvaluation);
    s.selectFeatures = 5;
    EXPECT_EQ(ChooseTask(s), TaskKind::FeatureSubsetEvaluation);
    s.featureFile = "f.txt";  // features with descriptors: still an evaluation
    EXPECT_EQ(ChooseTask(s), TaskKind::FeatureSubsetEvaluation);
}
