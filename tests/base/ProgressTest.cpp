#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/Paths.h"
#include "base/Progress.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

class CFakeDialog : public CProgressDialog {
public:
    void SetPercent(int value) override { percent = value; }
    void SetText(const std::string& value) override { text = value; }
    bool Cancelled() const override { return cancelled; }
    void Close() override { closed = true; }
    int percent = -5;
    std::string text;
    bool cancelled = false;
    bool closed = false;
};

}  // namespace

TEST(Progress, FileIsRewrittenInPlaceAndStopFileEndsTheLoop)
{
    CScratchFolder folder;
    OpenProgress(folder.Path("progress.txt"), folder.Path("stop.txt"));
    EXPECT_EQ(StopFileName(), folder.Path("stop.txt"));
    EXPECT_EQ(ReportProgress(5, ""), -1);
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "5\r\n");
    EXPECT_EQ(ReportProgress(100, ""), -1);
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "100\r\n");
    // A shorter number overwrites the start of the file; the driving program reads the first line.
    EXPECT_EQ(ReportProgress(7, ""), -1);
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")), "7\r\n\r\n");

    WriteBytes(folder.Path("stop.txt"), "");
    EXPECT_EQ(ReportProgress(8, ""), 2);
    EXPECT_FALSE(FileExists(folder.Path("stop.txt")));
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")).substr(0, 4), "-1\r\n");
    CloseProgress();
    EXPECT_EQ(ReportProgress(9, ""), 1);  // no dialog, no file
}

TEST(Progress, DialogCancelIsNotLostToTheProgressFile)
{
    CScratchFolder folder;
    CFakeDialog dialog;
    SetProgressDialog(&dialog);
    EXPECT_EQ(ReportProgress(40, "importing ..."), 0);
    EXPECT_EQ(dialog.percent, 40);
    EXPECT_EQ(dialog.text, "importing ...");
    OpenProgress(folder.Path("progress.txt"), folder.Path("stop.txt"));
    dialog.cancelled = true;
    EXPECT_EQ(ReportProgress(50, ""), 2);
    EXPECT_TRUE(dialog.closed);
    EXPECT_EQ(ReportProgress(60, ""), -1);  // the closed dialog is no longer asked
    CloseProgress();
}

TEST(Progress, UncreatableProgressFileIsReported)
{
    CRecordingReporter reporter;
    OpenProgress("/nonexistent/folder/progress.txt", "");
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Invalid progress file name /nonexistent/folder/progress.txt"});
    EXPECT_EQ(ReportProgress(1, ""), 1);
}
