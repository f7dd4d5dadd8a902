#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "base/Paths.h"
#include "batch/CommandRunner.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

// A command file whose driving files lie in the scratch folder.
std::string DrivingKeys(const CScratchFolder& folder)
{
    return "Progress File = " + folder.Path("progress.txt") + "\n" + "Sem End File = " + folder.Path("end.txt") +
           "\n" + "Stop File = " + folder.Path("stopreq.txt") + "\n";
}

CommandRunResult RunText(const CScratchFolder& folder, const std::string& text)
{
    std::string path = folder.Path("command.txt");
    WriteBytes(path, text);
    return RunCommandFile(path);
}

}  // namespace

TEST(CommandRunner, NoTaskWritesItsEndMarker)
{
    CScratchFolder folder;
    WriteBytes(folder.Path("end.txt"), "old marker");
    CRecordingReporter reporter;
    CommandRunResult result = RunText(folder, "// only comments\n\n   \n" + DrivingKeys(folder));
    EXPECT_TRUE(result.commandFileRead);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"No task recognized!"});
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "Command file not recognized!\r\n");
    EXPECT_TRUE(FileExists(folder.Path("progress.txt")));
}

TEST(CommandRunner, MissingCommandFileLeavesNoEndMarker)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    CommandRunResult result = RunCommandFile(folder.Path("missing.txt"));
    EXPECT_FALSE(result.commandFileRead);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Invalid command file name " + folder.Path("missing.txt") + "!"});
}

TEST(CommandRunner, HitStatisticsRunEndsWithOne)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    CommandRunResult result = RunText(folder, DrivingKeys(folder) + "Result File = " + folder.Path("none.txt") + "\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "1\r\n");
}

TEST(CommandRunner, UnreadablePathsAndJunkDoNotStopTheRun)
{
    CScratchFolder folder;
    CRecordingReporter reporter;
    std::string junk;
    for (int i = 0; i < 100000; ++i) junk.push_back(static_cast<char>((i * 7919) % 256));
    std::string text = std::string(100000, 'x') + "\n" + junk + "\n" + std::string("Bib File = a\0b", 14) + "\n" +
                       "Progress File = /nonexistent/folder/p.txt\nSem End File = " + folder.Path("end.txt") + "\n";
    CommandRunResult result = RunText(folder, text);
    EXPECT_TRUE(result.commandFileRead);
    ASSERT_GE(reporter.messages.size(), 2u);
    // The junk lines are reported as ignored lines before the run starts.
    EXPECT_EQ(reporter.messages[0].substr(0, 14), "Line ignored: ");
    EXPECT_NE(std::find(reporter.messages.begin(), reporter.messages.end(),
                        "Invalid progress file name /nonexistent/folder/p.txt"),
              reporter.messages.end());
    EXPECT_EQ(reporter.messages.back(), "No task recognized!");
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "Command file not recognized!\r\n");
}
