#pragma once
// The screenshot mode of the desktop program: the main window is set up from the command-line
// options without a user (errors go to standard error instead of message boxes), then the window
// or the page is rendered into a PNG file.
#include "ui/qt/DesktopOptions.h"

namespace kiv {

class CMainFrame;

// Applies the options to a started frame: library, script, page settings, record.
// False when something failed (the message was written to standard error).
bool PrepareFrame(CMainFrame& frame, const DesktopOptions& options);

// Renders the frame (or its page) into options.screenshot; 0 written, 1 failed.
int TakeScreenshot(CMainFrame& frame, const DesktopOptions& options);

}  // namespace kiv
