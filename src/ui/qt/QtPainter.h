#pragma once
// The page's drawing surface on a QPainter: page units (0.01 mm, y downwards) become device
// pixels through a scale (device pixels per page unit: the device's resolution times the zoom)
// and an offset (the device position of the page origin moved away by scrolling). The same
// painter serves the view, the printer, SVG, PDF and images; the caller begins and ends the
// QPainter and chooses its render hints, and leaves its pen and font to this painter meanwhile.
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include "ui/Painter.h"

namespace kiv {

// device = page * scale - offset
struct PageMapping {
    double scale = 1.0;  // device pixels per page unit
    QPointF offset;  // device pixels

    QPointF ToDevice(PagePoint point) const;
    QRectF ToDevice(const PageRect& rect) const;
    PagePoint ToPage(QPointF device) const;  // rounded to the nearest page unit
};

// Device pixels per page unit for a device of the given resolution at a zoom in percent.
double PageScale(double dotsPerInch, int zoomPercent);

class CQtPainter : public CPainter {
public:
    CQtPainter(QPainter& painter, PageMapping mapping);

    void SetPen(Rgb colour, int width) override;
    void SetBrush(Rgb colour) override;
    void SetNoBrush() override;
    void SetFont(FontRole role, int height, int weight) override;
    void SetTextColour(Rgb colour) override;
    void DrawLine(PagePoint from, PagePoint to) override;
    void DrawPolyline(const std::vector<PagePoint>& points) override;
    void DrawPolygon(const std::vector<PagePoint>& points) override;
    void DrawRect(const PageRect& rect) override;
    void DrawEllipse(const PageRect& rect) override;
    // On pixel surfaces the symbol is drawn once and stamped at every centre (a plot of 100,000
    // points redraws in milliseconds); vector surfaces (SVG, PDF, printers) get every symbol.
    void DrawMarkers(const std::vector<PagePoint>& centres, int r, MarkerShape shape) override;
    void DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v) override;
    int TextWidth(const std::string& text) override;
    int TextHeight() override;
    void SetClip(const PageRect& rect) override;
    void ResetClip() override;

private:
    QPolygonF ToDevice(const std::vector<PagePoint>& points) const;
    QImage MarkerStamp(double r, MarkerShape shape, double ratio) const;
    int ToPageLength(double deviceLength) const;
    // Lines and text use different colours on the one QPainter pen; switched only when needed.
    void UseLinePen();
    void UseTextPen();

    QPainter& painter_;
    PageMapping mapping_;
    QFontMetricsF metrics_;  // of the current font on this device, measured once per font
    QPen linePen_;
    QColor textColour_ = Qt::black;
    bool textPenActive_ = false;
};

}  // namespace kiv
