#include "ui/PageSettings.h"

#include <cmath>

namespace kiv {

PageFormat PageFormatFromCode(int code)
{
    if (code == 2) return PageFormat::A4;
    if (code == 3) return PageFormat::FullScreen;
    return PageFormat::Window;
}

PageGeometry::PageGeometry(int format, int zoom)
{
    struct Table {
        int left, top, width, height;
    };
    Table t{500, 500, 19500, 19500};
    switch (PageFormatFromCode(format)) {
    case PageFormat::Window: break;
    case PageFormat::A4: t = {1000, 1500, 20500, 29700}; break;
    case PageFormat::FullScreen: t = {500, 500, 31800, 20400}; break;
    }
    left = t.left * zoom / 100;
    top = t.top * zoom / 100;
    width = t.width * zoom / 100;
    height = t.height * zoom / 100;
}

int DiagramPenWidth(const PageSettings& settings)
{
    return static_cast<int>(std::floor(settings.zoom * settings.lineWidth * 0.03 + 0.5));
}

int FontHeight(FontRole role, int zoom)
{
    switch (role) {
    case FontRole::Title: return 540 * zoom / 100;
    case FontRole::Label: return 360 * zoom / 100;
    case FontRole::Small: break;
    }
    return 0;
}

int FontWeight(FontRole role) { return role == FontRole::Title ? 600 : 400; }

void UseFont(CPainter& painter, FontRole role, int zoom)
{
    painter.SetFont(role, FontHeight(role, zoom), FontWeight(role));
}

}  // namespace kiv
