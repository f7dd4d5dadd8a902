#include "ui/qt/PageOutput.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "ui/qt/QtPainter.h"

namespace kiv {

namespace {

void DrawWholePage(const CPageView& page, QPainter& painter, double scale)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    CQtPainter pagePainter(painter, {scale, {}});
    page.Draw(pagePainter, page.PageArea());
}

}  // namespace

QImage RenderPageImage(const CPageView& page, double dotsPerInch)
{
    const double scale = PageScale(dotsPerInch, 100);
    const PageRect area = page.PageArea();
    const int width = std::max(1, static_cast<int>(std::ceil(area.right * scale)));
    const int height = std::max(1, static_cast<int>(std::ceil(area.bottom * scale)));
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawWholePage(page, painter, scale);
    return image;
}

bool PrintPage(const CPageView& page, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const PageRect area = page.PageArea();
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    double scale = PageScale(printer.resolution(), 100);
    if (area.right > 0 && area.bottom > 0)
        scale = std::min({scale, paper.width() / area.right, paper.height() / area.bottom});
    DrawWholePage(page, painter, scale);
    return painter.end();
}

}  // namespace kiv
