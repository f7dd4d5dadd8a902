#pragma once
// A main window for the desktop tests: its own scratch folder (parameter file, recent-files
// list, libraries), a small library, and the messages that would have gone to message boxes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>
#include <string>
#include <vector>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "ui/qt/MainFrame.h"

namespace kiv::test {

class DesktopTest : public ::testing::Test {
protected:
    // Five spectra with different base peaks.
    std::string WriteLibrary(const std::string& name = "five.ssd", int count = 5)
    {
        std::vector<LibraryPeaks> spectra;
        for (int i = 0; i < count; ++i)
            spectra.push_back({{41.0 + i, 100}, {43.0, 30.0 + i}, {57.0 + 2 * i, 55}, {71.0, 12}, {85.0 + i, 8}});
        const std::string path = folder.Path(name);
        EXPECT_TRUE(WriteTestLibrary(path, spectra));
        return path;
    }

    // Makes and starts the window (shown, on the offscreen platform), recording its messages.
    CMainFrame& StartFrame()
    {
        frame = std::make_unique<CMainFrame>(folder.Path("Orvane.ini"), folder.Path("recent.txt"));
        frame->Reporter().SetShow([this](ErrorKind, const std::string& text) { messages.push_back(text); });
        frame->resize(900, 700);
        frame->show();
        frame->StartUp();
        QCoreApplication::processEvents();
        return *frame;
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, QPoint at)
    {
        QWidget* viewport = frame->View().viewport();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }

    void Key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame->View(), &event);
    }

    CScratchFolder folder;
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> messages;  // full texts, "Kiv run-time error:\n..."
};

}  // namespace kiv::test
