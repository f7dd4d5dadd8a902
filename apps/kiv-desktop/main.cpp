// kiv-desktop: the interactive workbench, or (with --screenshot) a picture of it for the
// documentation and the CI check. See DesktopUsage() for the command line.
#include <QApplication>
#include <cstdio>

#include "ui/qt/DesktopOptions.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/Screenshot.h"

namespace {

// The screenshot mode: the window at the requested size, set up and rendered; 0 when written.
int Screenshot(const kiv::DesktopOptions& options)
{
    kiv::CMainFrame frame;
    frame.StartUp();
    frame.resize(options.width, options.height);  // the screenshot's size, not the saved placement
    frame.show();
    const bool prepared = kiv::PrepareFrame(frame, options);
    const int written = kiv::TakeScreenshot(frame, options);
    return prepared ? written : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // The command line is read before the application object, so that --help needs no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const kiv::DesktopOptions options = kiv::ParseDesktopOptions(arguments);
    if (options.help) {
        std::fputs(kiv::DesktopUsage().c_str(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "kiv-desktop: %s\n%s", options.error.c_str(), kiv::DesktopUsage().c_str());
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kiv"));
    if (!options.screenshot.empty()) return Screenshot(options);
    kiv::CMainFrame frame;
    frame.show();
    if (!options.library.empty()) frame.OpenFile(options.library);
    if (!options.script.empty()) frame.RunScript(options.script);
    return QApplication::exec();
}
