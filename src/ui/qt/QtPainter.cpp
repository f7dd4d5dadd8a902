#include "ui/qt/QtPainter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "ui/qt/QtText.h"

namespace kiv {

namespace {

constexpr double kPageUnitsPerInch = 2540.0;
// The surface's default text size, used when a font asks for none (the small font).
constexpr double kDefaultPointSize = 8.0;

QColor ToQColor(Rgb colour) { return QColor(colour.r & 0xFF, colour.g & 0xFF, colour.b & 0xFF); }

}  // namespace

QPointF PageMapping::ToDevice(PagePoint point) const
{
    return {point.x * scale - offset.x(), point.y * scale - offset.y()};
}

QRectF PageMapping::ToDevice(const PageRect& rect) const
{
    return QRectF(ToDevice(PagePoint{rect.left, rect.top}), ToDevice(PagePoint{rect.right, rect.bottom})).normalized();
}

PagePoint PageMapping::ToPage(QPointF device) const
{
    const double perPixel = scale > 0 ? 1.0 / scale : 0.0;
    return {static_cast<int>(std::lround((device.x() + offset.x()) * perPixel)),
            static_cast<int>(std::lround((device.y() + offset.y()) * perPixel))};
}

double PageScale(double dotsPerInch, int zoomPercent) { return dotsPerInch / kPageUnitsPerInch * zoomPercent / 100.0; }

CQtPainter::CQtPainter(QPainter& painter, PageMapping mapping) : painter_(painter), mapping_(mapping) {}

void CQtPainter::SetPen(Rgb colour, int width)
{
    // The thinnest pen stays one device pixel wide at every scale; others scale with the page.
    QPen pen(ToQColor(colour));
    const double deviceWidth = width * mapping_.scale;
    pen.setCosmetic(deviceWidth < 1.0);
    pen.setWidthF(std::max(1.0, deviceWidth));
    painter_.setPen(pen);
}

void CQtPainter::SetBrush(Rgb colour) { painter_.setBrush(ToQColor(colour)); }

void CQtPainter::SetNoBrush() { painter_.setBrush(Qt::NoBrush); }

void CQtPainter::SetFont(FontRole, int height, int weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    if (height > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * mapping_.scale))));
    } else {
        font.setPointSizeF(kDefaultPointSize);
    }
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    painter_.setFont(font);
}

void CQtPainter::SetTextColour(Rgb colour) { textColour_ = ToQColor(colour); }

void CQtPainter::DrawLine(PagePoint from, PagePoint to)
{
    painter_.drawLine(mapping_.ToDevice(from), mapping_.ToDevice(to));
}

QPolygonF CQtPainter::ToDevice(const std::vector<PagePoint>& points) const
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (PagePoint point : points) polygon.append(mapping_.ToDevice(point));
    return polygon;
}

void CQtPainter::DrawPolyline(const std::vector<PagePoint>& points) { painter_.drawPolyline(ToDevice(points)); }

void CQtPainter::DrawPolygon(const std::vector<PagePoint>& points) { painter_.drawPolygon(ToDevice(points)); }

void CQtPainter::DrawRect(const PageRect& rect) { painter_.drawRect(mapping_.ToDevice(rect)); }

void CQtPainter::DrawEllipse(const PageRect& rect) { painter_.drawEllipse(mapping_.ToDevice(rect)); }

void CQtPainter::DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v)
{
    const QString qtext = ToQString(text);
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const QPointF at = mapping_.ToDevice(anchor);
    const double width = metrics.horizontalAdvance(qtext);
    const double x = h == HAlign::Left ? at.x() : h == HAlign::Centre ? at.x() - width / 2 : at.x() - width;
    const double height = metrics.height();
    const double top = v == VAlign::Top ? at.y() : v == VAlign::Middle ? at.y() - height / 2 : at.y() - height;
    const QPen pen = painter_.pen();
    painter_.setPen(textColour_);
    painter_.drawText(QPointF(x, top + metrics.ascent()), qtext);
    painter_.setPen(pen);
}

int CQtPainter::ToPageLength(double deviceLength) const
{
    return mapping_.scale > 0 ? static_cast<int>(std::lround(deviceLength / mapping_.scale)) : 0;
}

int CQtPainter::TextWidth(const std::string& text)
{
    return ToPageLength(QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(ToQString(text)));
}

int CQtPainter::TextHeight() { return ToPageLength(QFontMetricsF(painter_.font(), painter_.device()).height()); }

void CQtPainter::SetClip(const PageRect& rect) { painter_.setClipRect(mapping_.ToDevice(rect)); }

void CQtPainter::ResetClip() { painter_.setClipping(false); }

}  // namespace kiv
