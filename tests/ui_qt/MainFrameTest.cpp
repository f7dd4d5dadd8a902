#include <QAction>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <set>

#include "DesktopFixture.h"
#include "ui/ArgumentPrompter.h"
#include "ui/qt/PageOutput.h"
#include "ui/qt/QtText.h"

namespace kiv::test {

namespace {

QStringList Titles(const QList<QAction*>& actions)
{
    QStringList titles;
    for (const QAction* action : actions) {
        if (!action->isSeparator()) titles << action->text();
    }
    return titles;
}

void CollectToolTips(const QMenu& menu, std::set<std::string>& names)
{
    for (const QAction* action : menu.actions()) {
        if (action->menu()) CollectToolTips(*action->menu(), names);
        else names.insert(action->toolTip().toStdString());
    }
}

}  // namespace

TEST_F(DesktopTest, StartUpPrunesTheMenuAndReadsThePlacement)
{
    WriteBytes(folder.Path("Orvane.ini"), "GUI Let = 10\r\nGUI Top = 20\r\nGUI Width = 640\r\nGUI Height = 480\r\n"
                                          "GUIZoom = 120\r\n");
    CMainFrame& f = StartFrame();
    EXPECT_EQ(Titles(f.menuBar()->actions()),
              (QStringList{"&File", "&View", "&Database", "&Features", "&Options", "&?", "&More"}));
    QMenu* file = f.menuBar()->actions()[0]->menu();
    EXPECT_EQ(Titles(file->actions()),
              (QStringList{"&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "Recent &Files", "E&xit"}));
    EXPECT_EQ(f.StatusText(), "Startup done");
    EXPECT_EQ(f.RecordText(), "Empty BIB 0/0");
    EXPECT_EQ(f.Timer().Id(), 1337);
    EXPECT_EQ(f.Page().Settings().zoom, 120);
    EXPECT_EQ(f.Doc().zoom, 120);
    EXPECT_EQ(f.size(), QSize(640, 480));
    EXPECT_TRUE(messages.empty());
}

TEST_F(DesktopTest, EveryCommandIsInTheMoreMenu)
{
    CMainFrame& f = StartFrame();
    std::set<std::string> names;
    CollectToolTips(*f.MoreMenu(), names);
    for (const InteractiveCommand& command : InteractiveCommands())
        EXPECT_TRUE(names.count(command.scriptName)) << command.scriptName;
    EXPECT_TRUE(Titles(f.MoreMenu()->actions()).contains("Run Script ..."));
}

TEST_F(DesktopTest, LibraryOpensFromTheDesktopAndTheRecordsFollowTheKeys)
{
    const std::string library = WriteLibrary();
    CMainFrame& f = StartFrame();
    ASSERT_TRUE(f.OpenFile(library));
    EXPECT_TRUE(f.RecordText().endsWith(" 1/5"));
    EXPECT_EQ(f.windowTitle(), "Kiv - five");
    EXPECT_EQ(f.RecentFiles().Paths().front(), library);
    Key(Qt::Key_Right);
    EXPECT_TRUE(f.RecordText().endsWith(" 2/5"));
    Key(Qt::Key_End);
    EXPECT_TRUE(f.RecordText().endsWith(" 5/5"));
    Key(Qt::Key_Down);  // stays on the last record
    EXPECT_TRUE(f.RecordText().endsWith(" 5/5"));
    Key(Qt::Key_PageUp);
    EXPECT_TRUE(f.RecordText().endsWith(" 1/5"));
    Key(Qt::Key_PageDown);
    EXPECT_TRUE(f.RecordText().endsWith(" 5/5"));
    Key(Qt::Key_Home);
    EXPECT_TRUE(f.RecordText().endsWith(" 1/5"));
    Key(Qt::Key_Left);
    EXPECT_TRUE(f.RecordText().endsWith(" 1/5"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(DesktopTest, DamagedFilesAreReportedAsInBatchRunsAndTheWindowGoesOn)
{
    WriteBytes(folder.Path("damaged.ssd"), std::string("\x07garbage of a library", 21));
    WriteBytes(folder.Path("damaged.cdm"), "not a matrix\r\n\x01\x02");
    const InteractiveCommand& loadX = *FindInteractiveCommand("LoadX");
    const InteractiveCommand& loadRun = *FindInteractiveCommand("LoadBIB");
    std::vector<std::string> batch;
    {
        CRecordingReporter reporter;
        CKivDoc doc;
        CRecordingSession session;
        CArgumentPrompter library({folder.Path("damaged.ssd")});
        OpenWorkingBib(doc, folder.Path("damaged.ssd"), library, session);
        CArgumentPrompter matrix({folder.Path("damaged.cdm")});
        loadX.run(doc, matrix, session);
        CArgumentPrompter run({folder.Path("damaged.ssd")});
        loadRun.run(doc, run, session);
        batch = reporter.messages;
    }
    ASSERT_FALSE(batch.empty());

    CMainFrame& f = StartFrame();
    EXPECT_FALSE(f.OpenFile(folder.Path("damaged.ssd")));  // closed again, not an empty library
    EXPECT_EQ(f.RecordText(), "Empty BIB 0/0");
    f.RunCommandWith(loadX, {folder.Path("damaged.cdm")});
    f.RunCommandWith(loadRun, {folder.Path("damaged.ssd")});
    std::vector<std::string> expected;
    for (const std::string& message : batch) expected.push_back(ErrorText(ErrorKind::RunTime, message));
    EXPECT_EQ(messages, expected);

    const std::string gone = WriteLibrary("gone.ssd");
    ASSERT_TRUE(f.OpenFile(gone));
    EXPECT_EQ(f.RecentFiles().Paths().front(), gone);
    std::filesystem::remove(gone);
    EXPECT_FALSE(f.OpenFile(gone));  // a library that has gone leaves the recent files
    const std::vector<std::string>& recent = f.RecentFiles().Paths();
    EXPECT_EQ(std::find(recent.begin(), recent.end(), gone), recent.end());
    EXPECT_FALSE(f.OpenFile(folder.Path("notes.doc")));
    EXPECT_NE(messages.back().find("notes.doc is neither a library"), std::string::npos);
    EXPECT_TRUE(f.OpenFile(WriteLibrary()));  // and the window works on
    EXPECT_TRUE(f.RecordText().endsWith(" 1/5"));
}

TEST_F(DesktopTest, ScriptsRunOnTheTimerTicks)
{
    const std::string library = WriteLibrary();
    const std::string script = folder.Path("open-script.txt");
    WriteBytes(script, "DO: OpenBIB(" + library + ")\r\nDO: SelectRecord(3)\r\n");
    CMainFrame& f = StartFrame();
    ASSERT_TRUE(f.OpenFile(script));
    // Ticks while a command waits in its prompt leave the script alone.
    const size_t queued = f.Executor().Queue().size();
    int prompts = 0;
    f.Prompter().SetDialogHook([&](QDialog& dialog) {
        ++prompts;
        for (int tick = 0; tick < 3; ++tick) f.OnScriptTimer();
        EXPECT_EQ(f.Executor().Queue().size(), queued);
        dialog.reject();
    });
    f.RunCommand(*FindInteractiveCommand("PageZoom"));
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(f.Executor().Queue().size(), queued);
    for (int tick = 0; tick < 6 && f.Executor().State() != ExecutorState::Idle; ++tick) f.OnScriptTimer();
    EXPECT_EQ(f.Executor().State(), ExecutorState::Idle);
    EXPECT_EQ(f.Doc().bib.currentBlock, 3);
}

}  // namespace kiv::test

namespace kiv::test {

TEST_F(DesktopTest, DroppedLibraryOpensAndThePagePrints)
{
    const std::string library = WriteLibrary();
    CMainFrame& f = StartFrame();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(PathToQString(library))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &drop);
    EXPECT_TRUE(f.RecordText().endsWith(" 1/5"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PathToQString(folder.Path("page.pdf")));
    ASSERT_TRUE(PrintPage(f.Page(), printer));
    EXPECT_EQ(ReadBytes(folder.Path("page.pdf")).substr(0, 5), "%PDF-");
}

}  // namespace kiv::test
