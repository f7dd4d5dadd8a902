#include "ui/qt/DesktopOptions.h"

#include "ui/qt/QtText.h"

namespace kiv {

namespace {

bool ReadInteger(const QString& text, std::optional<int>& value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok) value = number;
    return ok;
}

bool ReadSize(const QString& text, DesktopOptions& options)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return false;
    bool okWidth = false, okHeight = false;
    const int width = parts[0].toInt(&okWidth), height = parts[1].toInt(&okHeight);
    if (!okWidth || !okHeight || width < 100 || height < 100 || width > 10000 || height > 10000) return false;
    options.width = width;
    options.height = height;
    return true;
}

// Takes the value of an option; false when the option is the last argument or its value is bad.
bool ReadValue(const QString& option, const QString& value, DesktopOptions& options)
{
    if (option == "--script") return options.script = PathFromQString(value), true;
    if (option == "--screenshot") return options.screenshot = PathFromQString(value), true;
    if (option == "--page-setup") return ReadInteger(value, options.pageSetup);
    if (option == "--page-format") return ReadInteger(value, options.pageFormat);
    if (option == "--page-options") return ReadInteger(value, options.pageOptions);
    if (option == "--zoom") return ReadInteger(value, options.zoom);
    if (option == "--record") return ReadInteger(value, options.record);
    if (option == "--size") return ReadSize(value, options);
    return false;
}

bool TakesValue(const QString& option)
{
    static const QStringList withValue = {"--script", "--screenshot", "--page-setup", "--page-format",
                                          "--page-options", "--zoom", "--record", "--size"};
    return withValue.contains(option);
}

}  // namespace

DesktopOptions ParseDesktopOptions(const QStringList& arguments)
{
    DesktopOptions options;
    for (qsizetype i = 0; i < arguments.size() && options.error.empty(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--page-only") {
            options.pageOnly = true;
        } else if (TakesValue(argument)) {
            if (i + 1 >= arguments.size() || !ReadValue(argument, arguments[i + 1], options))
                options.error = "option " + FromQString(argument) + " needs a valid value";
            ++i;
        } else if (argument.startsWith(QLatin1Char('-')) || !options.library.empty()) {
            options.error = "unknown argument " + FromQString(argument);
        } else {
            options.library = PathFromQString(argument);
        }
    }
    return options;
}

std::string DesktopUsage()
{
    return "usage: kiv-desktop [LIBRARY] [options]\n"
           "Opens the desktop workbench, with the library LIBRARY (.ssd) when one is named.\n"
           "\n"
           "  --script FILE         run the script's tasks on the document at start\n"
           "  --screenshot PNG      render into PNG and exit (0 written, 1 failed) instead of\n"
           "                        opening the window for the user\n"
           "  --page-only           with --screenshot: the page alone instead of the window\n"
           "  --page-setup N        page setup (-1 matrix, 0 text, 1..5 library, 10..13 plots,\n"
           "                        20/21 structures)\n"
           "  --page-format N       1 window, 2 A4 page, 3 full screen 1024x768\n"
           "  --page-options N      1 standard library page, 2 hitlist\n"
           "  --zoom N              page zoom in percent\n"
           "  --record N            show record N of the library\n"
           "  --size WxH            window size of the screenshot (default 1000x800)\n"
           "  --help                this text\n";
}

}  // namespace kiv
