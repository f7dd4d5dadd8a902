#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FeatureTestSupport.h"
#include "TestSupport.h"
#include "features/FeatureDefinitionSet.h"

using namespace kiv;
using namespace kiv::test;

namespace {

using Texts = std::vector<std::string>;

// Answers the file dialogs with fixed paths and remembers what was asked.
class CFilePrompter : public CHeadlessPrompter {
public:
    std::optional<std::string> openPath, savePath;
    std::vector<FileRequest> requests;
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override
    {
        requests.push_back(request);
        return openPath;
    }
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override
    {
        requests.push_back(request);
        return savePath;
    }
};

// Names and messages of a first pass over the lines on one small spectrum.
struct Evaluation {
    Texts names;
    Texts messages;
};
Evaluation Evaluate(const Texts& lines)
{
    CRecordingReporter reporter;
    CMatrix s = MakeSpectra(100, {{{64, 100}}});
    FeatureDefinitionSet set = FirstPass(lines, s);
    EXPECT_EQ(set.featureCount, static_cast<int>(set.names.size()));
    return {set.names, reporter.messages};
}

}  // namespace

TEST(DefinitionFile, LoadingKeepsTheLinesAsWritten)
{
    CScratchFolder folder;
    const std::string path = folder.Path("defs.txt");
    std::string longLine(1500, 'A');
    WriteBytes(path, "MD 14 1 800 M  \t \r\n"
                     "x\r\n"
                     "\r\n"
                     "// comment line\r\n" +
                         longLine +
                         "\r\n"
                         "IM 40/50\n"
                         "TYP");  // no line end on the last line
    FeatureDefinitionSet set;
    set.definitionFile = path;
    CRecordingReporter reporter;
    EXPECT_EQ(set.LoadDefinitions(), FileResult::Done);
    EXPECT_EQ(set.state, 0);
    ASSERT_EQ(set.lines.size(), 6u);
    EXPECT_EQ(set.lines[0], "MD 14 1 800 M");
    EXPECT_EQ(set.lines[1], "// comment line");
    // A line longer than 1024 characters continues as the next line.
    EXPECT_EQ(set.lines[2], std::string(1024, 'A'));
    EXPECT_EQ(set.lines[3], std::string(476, 'A'));
    EXPECT_EQ(set.lines[4], "IM 40/50");
    EXPECT_EQ(set.lines[5], "TYP");
    EXPECT_TRUE(reporter.messages.empty());

    // Loading again replaces the lines.
    WriteBytes(path, "LR\r\n");
    EXPECT_EQ(set.LoadDefinitions(), FileResult::Done);
    EXPECT_EQ(set.lines, Texts{"LR"});
}

TEST(DefinitionFile, MissingFileAndCancel)
{
    CScratchFolder folder;
    FeatureDefinitionSet set;
    set.lines = {"MD"};
    set.definitionFile = folder.Path("absent.txt");
    {
        CRecordingReporter reporter;
        EXPECT_EQ(set.LoadDefinitions(), FileResult::CannotOpen);
        EXPECT_EQ(reporter.messages, Texts{"Feature Definition file not found!"});
        EXPECT_TRUE(set.lines.empty());
        EXPECT_EQ(set.state, 1);
    }
    // Without a file name the user is asked; a cancel leaves the set as it was.
    set.definitionFile.clear();
    set.saveMode = 2;
    CFilePrompter prompter;
    EXPECT_EQ(set.LoadDefinitions(prompter), FileResult::NoFileChosen);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(prompter.requests[0].title, "Load Feature Definition:");
    EXPECT_EQ(prompter.requests[0].defaultExtension, "*.txt");
    EXPECT_EQ(prompter.requests[0].filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(set.saveMode, 2);
}

TEST(DefinitionFile, MenuCommandResetsTheSet)
{
    CScratchFolder folder;
    const std::string path = folder.Path("d.txt");
    WriteBytes(path, "// only comments\r\n// here\r\nx\r\n");
    FeatureDefinitionSet set;
    set.saveMode = -5;
    set.featureQuantisation = 10;
    set.definitionFile = "old.txt";
    CFilePrompter prompter;
    prompter.openPath = path;
    MessageLog log;
    EXPECT_EQ(LoadFeatureDefinitionFile(set, prompter, log), FileResult::Done);
    EXPECT_EQ(log, Texts{"2 feature definitions loaded"});
    EXPECT_EQ(set.definitionFile, path);
    EXPECT_EQ(set.saveMode, 0);
    EXPECT_EQ(set.featureQuantisation, 0);

    // Comment lines load but yield no feature.
    CMatrix s = MakeSpectra(10, {{{5, 100}}});
    set.ComputeFeatures(s, 0);
    EXPECT_EQ(set.featureCount, 0);
    EXPECT_TRUE(set.names.empty());
}

TEST(DefinitionFile, SaveFeatureNamesWritesCrLfLines)
{
    CScratchFolder folder;
    FeatureDefinitionSet set;
    set.lines = {"LR 1 64-66 1 1"};
    CMatrix s = MakeSpectra(100, {{{64, 100}}});
    set.ComputeFeatures(s, 0);
    CHeadlessPrompter headless;
    EXPECT_EQ(set.SaveFeatureNames(headless), FileResult::NoFileChosen);
    EXPECT_EQ(set.SaveFeatureNames(headless, folder.Path("names.txt")), FileResult::Done);
    EXPECT_EQ(ReadBytes(folder.Path("names.txt")), "LR 64 1 1 1\r\nLR 65 1 1 1\r\nLR 66 1 1 1\r\n");
    EXPECT_EQ(set.SaveFeatureNames(headless, folder.Path("no/such/folder/n.txt")), FileResult::CannotOpen);

    CFilePrompter prompter;
    prompter.savePath = folder.Path("asked.txt");
    EXPECT_EQ(set.SaveFeatureNames(prompter), FileResult::Done);
    EXPECT_EQ(prompter.requests.at(0).title, "Save Feature Names:");
    EXPECT_EQ(ReadBytes(folder.Path("asked.txt")).size(), 3u * 13u);
}

TEST(DefinitionFile, NamesOfDefaultedLines)
{
    Evaluation md = Evaluate({"MD"});
    ASSERT_EQ(md.names.size(), 14u);
    EXPECT_EQ(md.names.front(), "MD 14 1 1 800 0");
    EXPECT_EQ(md.names.back(), "MD 14 14 1 800 0");
    EXPECT_TRUE(md.messages.empty());

    Evaluation typ = Evaluate({"TYP"});
    EXPECT_EQ(typ.names, (Texts{"TYP DUST 31 800", "TYP IBAS 31 800", "TYP EVEN 31 800"}));
    EXPECT_EQ(typ.messages, (Texts{"TYP: sub string not found!", "TYP: ml not found!", "TYP: mh not found!"}));

    EXPECT_EQ(Evaluate({"IM 40/50,60/70"}).names, (Texts{"IM 40 50", "IM 60 70"}));
    EXPECT_EQ(Evaluate({"IMTP0.5 64"}).names, (Texts{"IMTP0.5 64 64"}));
    EXPECT_EQ(Evaluate({"IMTX 64"}).names, (Texts{"IMTX 64 64"}));
    EXPECT_EQ(Evaluate({"LR 1 64-66 1 1"}).names, (Texts{"LR 64 1 1 1", "LR 65 1 1 1", "LR 66 1 1 1"}));
    // An unrecognised mode counts as 0; the threshold keeps its written text.
    EXPECT_EQ(Evaluate({"LR 2 50 x 1.50"}).names, (Texts{"LR 50 2 0 1.50"}));
    EXPECT_EQ(Evaluate({"LR"}).names, (Texts{"LR 1 1 0 1"}));
    EXPECT_EQ(Evaluate({"AC"}).names, (Texts{"AC 1 1 1 N"}));
    EXPECT_EQ(Evaluate({"AC 30 90 1,2 X"}).names, (Texts{"AC 1 30 90 X", "AC 2 30 90 X"}));
    // Two blanks make an empty field, which reads as 0.
    EXPECT_EQ(Evaluate({"MD 2  9"}).names, (Texts{"MD 2 1 0 9 0", "MD 2 2 0 9 0"}));

    Evaluation iml = Evaluate({"IML"});
    EXPECT_EQ(iml.names, (Texts{"IML 1 0"}));
    EXPECT_EQ(iml.messages, (Texts{"TYP: sub string not found!"}));

    Evaluation illegal = Evaluate({"TYP ODD 40"});
    EXPECT_EQ(illegal.names, (Texts{"TYP ODD 40 800", "TYP ODD 40 800", "TYP ODD 40 800"}));
    EXPECT_EQ(illegal.messages, (Texts{"TYP: mh not found!", "TYP: illegal sub string!"}));
    EXPECT_EQ(Evaluate({"TYP IBAS 1 100"}).names, (Texts{"TYP IBAS 1 100"}));
}

TEST(DefinitionFile, GroupAndPatternNames)
{
    Evaluation pg = Evaluate({"PG"});
    EXPECT_EQ(pg.names.size(), 8u);
    EXPECT_EQ(pg.names.front(), "PG _ PROD0 1");
    EXPECT_EQ(pg.names.back(), "PG _ ML0.1 1");
    EXPECT_EQ(pg.messages, (Texts{"subname: sub string not found!", "subname: sub string not found!",
                                  "MassMenu: sub string not found!"}));

    // The mass list is the rest of the line, blanks included.
    EXPECT_EQ(Evaluate({"PG arom PDSI 77 91, 105"}).names,
              (Texts{"PG arom PROD0 77 91, 105", "PG arom PROD1 77 91, 105", "PG arom MEAN1 77 91, 105",
                     "PG arom MEAN2 77 91, 105"}));
    EXPECT_EQ(Evaluate({"PG arom all 77"}).names, (Texts{"PG arom all 77"}));  // selectors are case-sensitive

    EXPECT_TRUE(Evaluate({"SP XYZ"}).names.empty());
    Evaluation sp = Evaluate({"SP"});
    EXPECT_TRUE(sp.names.empty());
    EXPECT_EQ(sp.messages, (Texts{"subname: sub string not found!"}));
    EXPECT_EQ(Evaluate({"SP pyrimid01"}).names,
              (Texts{"SP pyrimid01 PROD0 64-66,90", "SP pyrimid01 PROD1 64-66,90", "SP pyrimid01 MEAN1 64-66,90",
                     "SP pyrimid01 MEAN2 64-66,90"}));
    EXPECT_EQ(Evaluate({"SP PYRIMID01 ALL"}).names.size(), 8u);

    Evaluation pps = Evaluate({"PPS benzoyl ALL 50 120 77 100 105 80"});
    EXPECT_EQ(pps.names, (Texts{"PPS benzoyl CORR 50 120 77 100 105 80", "PPS benzoyl COR2 50 120 77 100 105 80",
                                "PPS benzoyl EUCL 50 120 77 100 105 80", "PPS benzoyl CITY 50 120 77 100 105 80",
                                "PPS benzoyl FIT 50 120 77 100 105 80", "PPS benzoyl PURE 50 120 77 100 105 80"}));
    Evaluation bare = Evaluate({"PPS"});
    EXPECT_EQ(bare.names.front(), "PPS _ CORR 0 0 ");
    EXPECT_EQ(bare.messages, (Texts{"subname: sub string not found!", "subname: sub string not found!"}));

    // Unknown keywords (case matters) yield nothing and say nothing.
    Evaluation unknown = Evaluate({"md 14", "XYZ 1 2 3", "IMX 5"});
    EXPECT_TRUE(unknown.names.empty());
    EXPECT_TRUE(unknown.messages.empty());
}
