#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include "ui/qt/QtSession.h"

namespace kiv {

TEST(CopyTextDialog, CopyOnlyPutsTheTextOnTheClipboard)
{
    CQtSession session;
    session.CopyText("mass Intensity of Mass Spectrum:\r\n    41  12.500\r\n    43 100.000\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("mass Intensity of Mass Spectrum:\n    41  12.500\n    43 100.000\n"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    session.CopyText("Formula: C2H6O \xB5");
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("Formula: C2H6O \xC2\xB5"));
}

TEST(QtSession, CallsReachTheBoundCallbacksAndUnboundOnesAreIgnored)
{
    CQtSession session;
    session.SetStatus("ignored");
    session.Redraw();
    std::vector<std::string> seen;
    session.onStatus = [&](const std::string& text) { seen.push_back("status " + text); };
    session.onLog = [&](const std::string& line) { seen.push_back("log " + line); };
    session.onClearLog = [&] { seen.push_back("clear"); };
    session.onRedraw = [&] { seen.push_back("redraw"); };
    session.onShowPage = [&](int page) { seen.push_back("page " + std::to_string(page)); };
    session.SetStatus("Parameters loaded");
    session.Log("line");
    session.ClearLog();
    session.Redraw();
    session.ShowPage(3);
    EXPECT_EQ(seen, (std::vector<std::string>{"status Parameters loaded", "log line", "clear", "redraw", "page 3"}));
}

}  // namespace kiv
