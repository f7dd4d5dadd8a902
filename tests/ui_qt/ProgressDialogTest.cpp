#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "base/Progress.h"
#include "ui/qt/ProgressDialog.h"
#include "ui/qt/QtProgress.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

QString ShownText(CQtProgressDialog& dialog) { return dialog.findChild<QLabel*>(QStringLiteral("text"))->text(); }
int ShownPercent(CQtProgressDialog& dialog) { return dialog.findChild<QProgressBar*>(QStringLiteral("bar"))->value(); }

}  // namespace

TEST(ProgressDialog, ShowsTextAndPercentWhileAScopeInstallsIt)
{
    CQtProgressDialog dialog;
    {
        CProgressScope scope(dialog, "calculating features ...");
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kiv   Progress of Calculation"));
        EXPECT_EQ(ShownText(dialog), QStringLiteral("calculating features ..."));
        EXPECT_FALSE(dialog.isVisible());  // until the command reports
        EXPECT_EQ(ReportProgress(40, "importing ...\nfile 2 of 5"), 0);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ShownPercent(dialog), 40);
        EXPECT_EQ(ShownText(dialog), QStringLiteral("importing ...\nfile 2 of 5"));
        ReportProgress(250, "");
        EXPECT_EQ(ShownPercent(dialog), 100);
        EXPECT_EQ(ShownText(dialog), QStringLiteral("importing ...\nfile 2 of 5"));
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsOpen());
    // Without an installed dialog nothing reports into it any more.
    EXPECT_EQ(ReportProgress(70, "after"), 1);
    EXPECT_EQ(ShownPercent(dialog), 100);
}

TEST(ProgressDialog, OkHidesTheWindowAndTheOperationGoesOn)
{
    CQtProgressDialog dialog;
    CProgressScope scope(dialog, "importing ...");
    EXPECT_EQ(ReportProgress(10, "importing ..."), 0);
    dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ReportProgress(30, "importing ..."), 0);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.Cancelled());
}

TEST(ProgressDialog, CancelStopsALongLoop)
{
    CQtProgressDialog dialog;
    CProgressScope scope(dialog, "converting ...");
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->click(); });
    int item = 0;
    int result = 0;
    for (; item < 100000000; ++item) {
        result = ReportProgress(item % 100, "");
        if (result > 1) break;
    }
    EXPECT_EQ(result, 2);
    EXPECT_LT(item, 100000000);
    EXPECT_TRUE(dialog.Cancelled());
    EXPECT_FALSE(dialog.isVisible());
    // Opening again starts without the old cancel.
    dialog.Open("again");
    EXPECT_FALSE(dialog.Cancelled());
    dialog.Close();
}

TEST(ProgressDialog, ScriptWindowAndCommandsShareTheDialog)
{
    CQtProgressDialog dialog;
    CQtProgressWindow window(dialog);
    window.Open("executing task\nCalc\n...");
    EXPECT_TRUE(dialog.isVisible());
    {
        // A command inside a script task reports into the open window and leaves it open.
        CProgressScope scope(dialog, "calculating features ...");
        EXPECT_EQ(ReportProgress(10, ""), 0);
    }
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(ReportProgress(50, ""), 0);
    window.Close();
    window.Close();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(ReportProgress(60, ""), 1);
}

}  // namespace kiv
