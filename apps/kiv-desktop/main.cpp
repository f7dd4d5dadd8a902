// kiv-desktop: the interactive workbench, or (with --screenshot) a picture of it for the
// documentation and the CI check. See DesktopUsage() for the command line.
#include <QApplication>
#include <cstdio>

#include "ui/qt/DesktopOptions.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/Screenshot.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kiv"));
    const kiv::DesktopOptions options = kiv::ParseDesktopOptions(QApplication::arguments().mid(1));
    if (options.help) {
        std::fputs(kiv::DesktopUsage().c_str(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "kiv-desktop: %s\n%s", options.error.c_str(), kiv::DesktopUsage().c_str());
        return 2;
    }
    kiv::CMainFrame frame;
    if (!options.screenshot.empty()) {
        frame.resize(options.width, options.height);
        frame.StartUp();
        frame.resize(options.width, options.height);  // the screenshot's size, not the saved placement
        frame.show();
        const bool prepared = kiv::PrepareFrame(frame, options);
        const int written = kiv::TakeScreenshot(frame, options);
        return prepared ? written : 1;
    }
    frame.show();
    if (!options.library.empty()) frame.OpenFile(options.library);
    if (!options.script.empty()) frame.RunScript(options.script);
    return QApplication::exec();
}
