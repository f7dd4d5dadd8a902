#include "ui/qt/QtPainter.h"

#include <QPaintEngine>
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

CQtPainter::CQtPainter(QPainter& painter, PageMapping mapping)
    : painter_(painter), mapping_(mapping), metrics_(painter.font(), painter.device()), linePen_(painter.pen())
{
}

void CQtPainter::UseLinePen()
{
    if (!textPenActive_) return;
    painter_.setPen(linePen_);
    textPenActive_ = false;
}

void CQtPainter::UseTextPen()
{
    if (textPenActive_) return;
    painter_.setPen(textColour_);
    textPenActive_ = true;
}

void CQtPainter::SetPen(Rgb colour, int width)
{
    // The thinnest pen stays one device pixel wide at every scale; others scale with the page.
    QPen pen(ToQColor(colour));
    const double deviceWidth = width * mapping_.scale;
    pen.setCosmetic(deviceWidth < 1.0);
    pen.setWidthF(std::max(1.0, deviceWidth));
    linePen_ = pen;
    painter_.setPen(pen);
    textPenActive_ = false;
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
    if (font == painter_.font()) return;
    painter_.setFont(font);
    metrics_ = QFontMetricsF(font, painter_.device());
}

void CQtPainter::SetTextColour(Rgb colour)
{
    const QColor textColour = ToQColor(colour);
    if (textColour == textColour_) return;
    textColour_ = textColour;
    if (textPenActive_) painter_.setPen(textColour_);
}

void CQtPainter::DrawLine(PagePoint from, PagePoint to)
{
    UseLinePen();
    painter_.drawLine(mapping_.ToDevice(from), mapping_.ToDevice(to));
}

QPolygonF CQtPainter::ToDevice(const std::vector<PagePoint>& points) const
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (PagePoint point : points) polygon.append(mapping_.ToDevice(point));
    return polygon;
}

void CQtPainter::DrawPolyline(const std::vector<PagePoint>& points)
{
    UseLinePen();
    painter_.drawPolyline(ToDevice(points));
}

void CQtPainter::DrawPolygon(const std::vector<PagePoint>& points)
{
    UseLinePen();
    painter_.drawPolygon(ToDevice(points));
}

void CQtPainter::DrawRect(const PageRect& rect)
{
    UseLinePen();
    painter_.drawRect(mapping_.ToDevice(rect));
}

void CQtPainter::DrawEllipse(const PageRect& rect)
{
    UseLinePen();
    painter_.drawEllipse(mapping_.ToDevice(rect));
}

void CQtPainter::DrawMarkers(const std::vector<PagePoint>& centres, int r, MarkerShape shape)
{
    const QPaintEngine* engine = painter_.paintEngine();
    const double deviceRadius = r * mapping_.scale;
    constexpr double kLargestStamp = 64;  // device pixels; larger symbols are few and drawn one by one
    if (!engine || engine->type() != QPaintEngine::Raster || deviceRadius > kLargestStamp || centres.size() < 2) {
        CPainter::DrawMarkers(centres, r, shape);
        return;
    }
    UseLinePen();
    const double ratio = painter_.device()->devicePixelRatioF();
    const QImage stamp = MarkerStamp(deviceRadius, shape, ratio);
    const QPointF half(stamp.width() / (2 * ratio), stamp.height() / (2 * ratio));
    for (const PagePoint centre : centres) painter_.drawImage(mapping_.ToDevice(centre) - half, stamp);
}

QImage CQtPainter::MarkerStamp(double r, MarkerShape shape, double ratio) const
{
    const double pen = std::max(1.0, linePen_.widthF());
    const int side = static_cast<int>(std::ceil((2 * r + 2 * pen + 2) * ratio));
    QImage stamp(side, side, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(ratio);
    stamp.fill(Qt::transparent);
    QPainter p(&stamp);
    p.setRenderHints(painter_.renderHints());
    p.setPen(linePen_);
    p.setBrush(painter_.brush());
    const double c = side / (2 * ratio);
    const QRectF box(c - r, c - r, 2 * r, 2 * r);
    if (shape == MarkerShape::Square) {
        p.drawRect(box);
    } else if (shape == MarkerShape::Triangle) {
        p.drawPolygon(QPolygonF({QPointF(c, c - r), QPointF(c + r, c + r), QPointF(c - r, c + r)}));
    } else {
        p.drawEllipse(box);
    }
    return stamp;
}

void CQtPainter::DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v)
{
    const QString qtext = ToQString(text);
    const QPointF at = mapping_.ToDevice(anchor);
    // Measuring shapes the text a second time; left-aligned labels (the many point numbers of a
    // scatter plot) need no width.
    const double width = h == HAlign::Left ? 0.0 : metrics_.horizontalAdvance(qtext);
    const double x = h == HAlign::Centre ? at.x() - width / 2 : at.x() - width;
    const double height = metrics_.height();
    const double top = v == VAlign::Top ? at.y() : v == VAlign::Middle ? at.y() - height / 2 : at.y() - height;
    UseTextPen();
    painter_.drawText(QPointF(x, top + metrics_.ascent()), qtext);
}

int CQtPainter::ToPageLength(double deviceLength) const
{
    return mapping_.scale > 0 ? static_cast<int>(std::lround(deviceLength / mapping_.scale)) : 0;
}

int CQtPainter::TextWidth(const std::string& text)
{
    return ToPageLength(metrics_.horizontalAdvance(ToQString(text)));
}

int CQtPainter::TextHeight() { return ToPageLength(metrics_.height()); }

void CQtPainter::SetClip(const PageRect& rect) { painter_.setClipRect(mapping_.ToDevice(rect)); }

void CQtPainter::ResetClip() { painter_.setClipping(false); }

}  // namespace kiv
