#pragma once
// The command line of the desktop program:
//   kiv-desktop [LIBRARY] [--script FILE] [--screenshot PNG [--page-only] [--page-setup N]
//               [--page-format N] [--page-options N] [--zoom N] [--record N] [--size WxH]]
// Without --screenshot the window opens (with the library, if one is named) for the user; with
// it the program renders the window (or, with --page-only, the page) into the PNG and ends.
#include <QStringList>
#include <optional>
#include <string>

namespace kiv {

struct DesktopOptions {
    std::string library;  // opened at start
    std::string script;  // run through the document, task after task, before the picture
    std::string screenshot;  // PNG to write; empty: the interactive window
    bool pageOnly = false;  // the page at screen resolution instead of the whole window
    std::optional<int> pageSetup, pageFormat, pageOptions, zoom, record;
    int width = 1000, height = 800;  // window size of the screenshot
    bool help = false;
    std::string error;  // not empty: the command line cannot be used
};

// Reads the arguments after the program name.
DesktopOptions ParseDesktopOptions(const QStringList& arguments);
// The text of --help.
std::string DesktopUsage();

}  // namespace kiv
