#include "ui/qt/WindowSettings.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <filesystem>

namespace kiv {

namespace {

constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;

int Fitted(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

}  // namespace

std::string StartupParameterFile(const std::string& path)
{
    if (!path.empty()) return path;
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return (error ? std::string(".") : current.string()) + "/Orvane.ini";
}

WindowSettings ReadStartupSettings(CKivDoc& doc, const std::string& path, CPrompter& prompter)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return {};
    WindowSettings settings = ReadWindowSettings(path, doc.bib.parameters, doc.reference.bib.parameters, prompter);
    if (settings.zoom <= 0) settings.zoom = WindowSettings{}.zoom;
    return settings;
}

QRect FittedPlacement(const WindowSettings& settings, const QRect& screen)
{
    const int width = Fitted(settings.width, std::min(kMinWidth, screen.width()), screen.width());
    const int height = Fitted(settings.height, std::min(kMinHeight, screen.height()), screen.height());
    const int left = Fitted(settings.left, screen.left(), screen.left() + screen.width() - width);
    const int top = Fitted(settings.top, screen.top(), screen.top() + screen.height() - height);
    return {left, top, width, height};
}

void PlaceWindow(QWidget& window, const WindowSettings& settings)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect placement = FittedPlacement(settings, area);
    window.resize(placement.size());
    window.move(placement.topLeft());
}

}  // namespace kiv
