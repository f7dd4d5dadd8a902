#include "ui/qt/Screenshot.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "ui/ScriptRunner.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/PageOutput.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

void ApplyPageSettings(CMainFrame& frame, const DesktopOptions& options)
{
    PageSettings& settings = frame.Page().Settings();
    if (options.pageSetup) {
        settings.matrixOnly = *options.pageSetup < 0;
        settings.setup = settings.matrixOnly ? 0 : *options.pageSetup;
    }
    if (options.pageFormat) settings.format = *options.pageFormat;
    if (options.pageOptions) settings.options = *options.pageOptions;
    if (options.zoom && *options.zoom > 0) settings.zoom = frame.Doc().zoom = *options.zoom;
}

}  // namespace

bool PrepareFrame(CMainFrame& frame, const DesktopOptions& options)
{
    bool reported = false;
    frame.Reporter().SetShow([&](ErrorKind, const std::string& text) {
        std::fprintf(stderr, "%s\n", text.c_str());
        reported = true;
    });
    bool ok = true;
    if (!options.library.empty()) ok = frame.OpenFile(options.library);
    if (!options.script.empty() && !RunScriptHeadless(frame.Doc(), options.script, frame.Session())) {
        std::fprintf(stderr, "kiv-desktop: the script %s did not run through\n", options.script.c_str());
        ok = false;
    }
    if (options.record) SelectWorkingRecord(frame.Doc(), *options.record, frame.Session());
    ApplyPageSettings(frame, options);
    frame.View().RebuildPage();
    frame.Reporter().Flush();
    return ok && !reported;
}

int TakeScreenshot(CMainFrame& frame, const DesktopOptions& options)
{
    QApplication::processEvents();
    const QImage image = options.pageOnly ? RenderPageImage(frame.Page(), frame.View().viewport()->logicalDpiX())
                                          : frame.grab().toImage();
    if (image.isNull() || !image.save(PathToQString(options.screenshot), "PNG")) {
        std::fprintf(stderr, "kiv-desktop: %s cannot be written\n", options.screenshot.c_str());
        return 1;
    }
    return 0;
}

}  // namespace kiv
