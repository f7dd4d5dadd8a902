// The small pieces of the main window: recent files, window placement, the script timer, the
// about box, the command palette and the kinds of dropped files.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QRect>
#include <QTimer>

#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/CommandPalette.h"
#include "ui/qt/DesktopOptions.h"
#include "ui/qt/DesktopTimer.h"
#include "ui/qt/DroppedFiles.h"
#include "ui/qt/RecentFiles.h"
#include "ui/qt/WindowSettings.h"

namespace kiv {

TEST(RecentFiles, NewestFirstAtMostEightKeptAcrossRuns)
{
    test::CScratchFolder folder;
    const std::string file = folder.Path("sub/recent.txt");
    {
        CRecentFiles recent(file);
        EXPECT_TRUE(recent.Paths().empty());
        for (int i = 1; i <= 10; ++i) recent.Add("/data/lib" + std::to_string(i) + ".ssd");
        recent.Add("/data/lib5.ssd");
        recent.Add("bad\nname");
    }
    CRecentFiles again(file);
    ASSERT_EQ(again.Paths().size(), 8u);
    EXPECT_EQ(again.Paths()[0], "/data/lib5.ssd");
    EXPECT_EQ(again.Paths()[1], "/data/lib10.ssd");
    EXPECT_EQ(again.Paths()[7], "/data/lib3.ssd");
    EXPECT_EQ(test::ReadBytes(file).substr(0, 16), "/data/lib5.ssd\r\n");
    again.Remove("/data/lib10.ssd");
    EXPECT_EQ(CRecentFiles(file).Paths()[1], "/data/lib9.ssd");
}

TEST(WindowSettings, PlacementAndZoomFromTheStartupFile)
{
    test::CScratchFolder folder;
    CKivDoc doc;
    CHeadlessPrompter prompter;
    test::CRecordingReporter reporter;
    const std::string ini = folder.Path("Orvane.ini");
    EXPECT_EQ(StartupParameterFile(ini), ini);
    EXPECT_NE(StartupParameterFile("").find("/Orvane.ini"), std::string::npos);

    const WindowSettings missing = ReadStartupSettings(doc, ini, prompter);  // no file: defaults, no message
    EXPECT_EQ(missing.width, 780);
    EXPECT_TRUE(reporter.messages.empty());

    test::WriteBytes(ini, "GUI Let = 40\r\nGUI Top = 30\r\nGUI Width = 900\r\nGUI Height = 600\r\nGUIZoom = 150\r\n");
    const WindowSettings read = ReadStartupSettings(doc, ini, prompter);
    EXPECT_EQ(read.left, 40);
    EXPECT_EQ(read.top, 30);
    EXPECT_EQ(read.width, 900);
    EXPECT_EQ(read.height, 600);
    EXPECT_EQ(read.zoom, 150);

    test::WriteBytes(ini, "GUIZoom = -5\r\n");
    EXPECT_EQ(ReadStartupSettings(doc, ini, prompter).zoom, 100);

    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(FittedPlacement(read, screen), QRect(40, 30, 900, 600));
    EXPECT_EQ(FittedPlacement({5000, -300, 0, 99999, 100}, screen), QRect(824, 0, 200, 768));
}

TEST(DesktopTimer, StartsWithTheFirstIdentifierAndTicksTheExecutor)
{
    CRecordingSession session;
    int tasks = 0;
    CTaskExecutor executor([&](const std::string&) { return ++tasks, 0; }, session);
    CDesktopTimer timer([&] { executor.OnTaskTimer(); });
    EXPECT_FALSE(timer.Start(5, 0));
    ASSERT_TRUE(executor.SetUp(timer));
    EXPECT_EQ(timer.Id(), 1337);
    EXPECT_TRUE(timer.IsActive());
    EXPECT_FALSE(timer.Start(111337, 1000));  // already running under another identifier

    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(1150, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(executor.Ticks(), 1);
}

TEST(AboutBox, NameAndBuildDate)
{
    const QString text = AboutText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Kiv\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("28.11.2005")));
    EXPECT_TRUE(text.contains(QString::fromLatin1(qVersion())));
}

TEST(CommandPalette, FiltersByEntryTextAndScriptName)
{
    const CommandList& commands = InteractiveCommands();
    CCommandPalette palette(commands);
    EXPECT_EQ(palette.VisibleCount(), static_cast<int>(commands.size()));
    palette.SetFilter(QStringLiteral("open bib"));
    EXPECT_GE(palette.VisibleCount(), 1);
    const InteractiveCommand* open = FindInteractiveCommand("OpenBIBDatabase");
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(PaletteMatches(*open, QStringLiteral("OPENBIBdatabase")));
    EXPECT_TRUE(PaletteMatches(*open, QStringLiteral("database open")));
    EXPECT_FALSE(PaletteMatches(*open, QStringLiteral("close")));
    palette.SetFilter(QStringLiteral("no such command at all"));
    EXPECT_EQ(palette.VisibleCount(), 0);
}

TEST(DroppedFiles, KindsByExtension)
{
    EXPECT_EQ(KindOfDroppedFile("/a/b/lib.SSD"), DroppedFileKind::Library);
    EXPECT_EQ(KindOfDroppedFile("x.jdx"), DroppedFileKind::Jcamp);
    EXPECT_EQ(KindOfDroppedFile("x.dx"), DroppedFileKind::Jcamp);
    EXPECT_EQ(KindOfDroppedFile("x.JCAMP"), DroppedFileKind::Jcamp);
    EXPECT_EQ(KindOfDroppedFile("my-script.txt"), DroppedFileKind::Script);
    EXPECT_EQ(KindOfDroppedFile("lib.ssi"), DroppedFileKind::Unknown);
    EXPECT_EQ(KindOfDroppedFile("noextension"), DroppedFileKind::Unknown);
}

}  // namespace kiv

namespace kiv {

TEST(DesktopOptions, CommandLineOfTheDesktopProgram)
{
    const DesktopOptions all = ParseDesktopOptions({"lib.ssd", "--script", "s.txt", "--screenshot", "out.png",
                                                    "--page-setup", "-1", "--page-format", "2", "--zoom", "150",
                                                    "--record", "3", "--size", "640x480", "--page-only"});
    EXPECT_TRUE(all.error.empty()) << all.error;
    EXPECT_EQ(all.library, "lib.ssd");
    EXPECT_EQ(all.script, "s.txt");
    EXPECT_EQ(all.screenshot, "out.png");
    EXPECT_EQ(all.pageSetup, -1);
    EXPECT_EQ(all.pageFormat, 2);
    EXPECT_FALSE(all.pageOptions.has_value());
    EXPECT_EQ(all.zoom, 150);
    EXPECT_EQ(all.record, 3);
    EXPECT_EQ(all.width, 640);
    EXPECT_EQ(all.height, 480);
    EXPECT_TRUE(all.pageOnly);

    EXPECT_TRUE(ParseDesktopOptions({"--help"}).help);
    EXPECT_EQ(ParseDesktopOptions({"--page-setup"}).error, "option --page-setup needs a valid value");
    EXPECT_EQ(ParseDesktopOptions({"--zoom", "big"}).error, "option --zoom needs a valid value");
    EXPECT_EQ(ParseDesktopOptions({"--size", "20x20"}).error, "option --size needs a valid value");
    EXPECT_EQ(ParseDesktopOptions({"a.ssd", "b.ssd"}).error, "unknown argument b.ssd");
    EXPECT_EQ(ParseDesktopOptions({"--frobnicate"}).error, "unknown argument --frobnicate");
    EXPECT_NE(DesktopUsage().find("--screenshot PNG"), std::string::npos);
}

}  // namespace kiv
