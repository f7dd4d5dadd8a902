// The import task as a driving program sees it: exit status, end marker, progress file, and the
// library of "BIB File" after runs that went wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "batch/CommandRunner.h"
#include "library/Bib.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

std::string Spectrum(const std::string& name, int mass)
{
    return "##TITLE=" + name + "\r\n##NPOINTS=2\r\n##PEAK TABLE=(XY..XY)\r\n10, 0\r\n" + std::to_string(mass) +
           ", 50\r\n##END=\r\n";
}

class ImportRun : public ::testing::Test {
protected:
    CommandRunResult Run(const std::string& keys)
    {
        const std::string text = "Progress File = " + folder.Path("progress.txt") + "\nSem End File = " + folder.Path("end.txt") +
                                 "\nStop File = " + folder.Path("stop.txt") + "\nBIB File = " + folder.Path("lib.ssd") +
                                 "\n" + keys;
        WriteBytes(folder.Path("command.txt"), text);
        return RunCommandFile(folder.Path("command.txt"));
    }
    int Blocks()
    {
        CBib bib;
        return kiv::test::OpenTestLibrary(bib, folder.Path("lib.ssd")) ? bib.header.blockCount : -1;
    }

    CScratchFolder folder;
    CRecordingReporter reporter;
};

TEST_F(ImportRun, AnErrorGivesExitStatus4AndTheRestIsImported)
{
    WriteBytes(folder.Path("a.jdx"), Spectrum("a", 41) + Spectrum("b", 42));
    WriteBytes(folder.Path("c.jdx"), Spectrum("c", 43));
    const CommandRunResult result =
        Run("Import JCAMP = " + folder.Path("missing.jdx") + "\n" + folder.Path("a.jdx") + "\n" + folder.Path("c.jdx") + "\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ExitStatusOf(result), 4);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Error opening " + folder.Path("missing.jdx")});
    // The end marker keeps its meaning for the driving program: the task ran.
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "1\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "100\r\n");
    EXPECT_EQ(Blocks(), 3);
    const std::vector<std::string> log = {folder.Path("a.jdx") + ": 2 spectra", folder.Path("c.jdx") + ": 1 spectra"};
    EXPECT_EQ(result.log, log);
    EXPECT_FALSE(FileExists(folder.Path("lib.ssd.part")));

    reporter.messages.clear();
    EXPECT_EQ(ExitStatusOf(Run("Import JCAMP = " + folder.Path("c.jdx") + "\n")), 0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(ImportRun, AStopKeepsTheBlocksWrittenAndGivesExitStatus3)
{
    for (const char* name : {"a", "b", "c"}) WriteBytes(folder.Path(std::string(name) + ".jdx"), Spectrum(name, 50));
    // The driving program asks for a stop while the second file is on its way.
    const std::string stopFile = folder.Path("stop.txt");
    SetProgressEcho([&](int, const std::string& text) {
        if (text.find("b.jdx") != std::string::npos) WriteBytes(stopFile, "");
    });
    const CommandRunResult result = Run("Import JCAMP = " + folder.Path("a.jdx") + "\n" + folder.Path("b.jdx") + "\n" +
                                        folder.Path("c.jdx") + "\n");
    SetProgressEcho(nullptr);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(ExitStatusOf(result), 3);
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "1\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "-1\r\n");
    EXPECT_EQ(Blocks(), 1);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(ImportRun, AnExistingLibraryOutlivesARunWithoutReadableInput)
{
    ASSERT_TRUE(kiv::test::WriteTestLibrary(folder.Path("lib.ssd"), {{{41, 100}}, {{43, 100}}}));
    ASSERT_EQ(Blocks(), 2);  // opening wrote the index
    const std::string data = ReadBytes(folder.Path("lib.ssd"));
    const std::string index = ReadBytes(folder.Path("lib.ssi"));
    const CommandRunResult result = Run("Import JCAMP = " + folder.Path("typo.jdx") + "\n" + folder.Root() + "\n");
    EXPECT_EQ(ExitStatusOf(result), 4);
    const std::vector<std::string> expected = {"Error opening " + folder.Path("typo.jdx"), "Error opening " + folder.Root(),
                                               "No input file could be opened; " + folder.Path("lib.ssd") + " left unchanged"};
    EXPECT_EQ(reporter.messages, expected);
    EXPECT_EQ(ReadBytes(folder.Path("lib.ssd")), data);
    EXPECT_EQ(ReadBytes(folder.Path("lib.ssi")), index);
    EXPECT_FALSE(FileExists(folder.Path("lib.ssd.part")));

    // A run that reads something replaces the library and drops its old index.
    WriteBytes(folder.Path("new.jdx"), Spectrum("new", 57));
    reporter.messages.clear();
    EXPECT_EQ(ExitStatusOf(Run("Import JCAMP = " + folder.Path("new.jdx") + "\n")), 0);
    EXPECT_FALSE(FileExists(folder.Path("lib.ssi")));
    EXPECT_EQ(Blocks(), 1);
}

TEST_F(ImportRun, PathsLongerThanAnOldCommandLine)
{
    // Two folders of 150 characters: the input path runs to more than 300 characters.
    const std::string deep = folder.Path(std::string(150, 'd')) + "/" + std::string(150, 'e');
    std::filesystem::create_directories(deep);
    const std::string input = deep + "/spectra.jdx";
    ASSERT_GT(input.size(), 300u);
    WriteBytes(input, Spectrum("far away", 91));
    const CommandRunResult result = Run("Import JCAMP = " + input + "\n");
    EXPECT_EQ(ExitStatusOf(result), 0);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(Blocks(), 1);
}

TEST_F(ImportRun, AFolderIsNoCommandFile)
{
    const CommandRunResult result = RunCommandFile(folder.Root());
    EXPECT_EQ(ExitStatusOf(result), 2);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Invalid command file name " + folder.Root() + "!"});
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));
}

}  // namespace
