#pragma once
// A painter that moves everything drawn by an offset before handing it on: a display object
// placed anywhere on the page draws into a picture of its own size with the origin at its corner.
#include "ui/Painter.h"

namespace kiv {

class COffsetPainter : public CPainter {
public:
    // Points drawn at (x, y) reach target at (x - origin.x, y - origin.y).
    COffsetPainter(CPainter& target, PagePoint origin) : target_(target), origin_(origin) {}
    void SetPen(Rgb colour, int width) override { target_.SetPen(colour, width); }
    void SetBrush(Rgb colour) override { target_.SetBrush(colour); }
    void SetNoBrush() override { target_.SetNoBrush(); }
    void SetFont(FontRole role, int height, int weight) override { target_.SetFont(role, height, weight); }
    void SetTextColour(Rgb colour) override { target_.SetTextColour(colour); }
    void DrawLine(PagePoint from, PagePoint to) override { target_.DrawLine(Moved(from), Moved(to)); }
    void DrawPolyline(const std::vector<PagePoint>& points) override;
    void DrawPolygon(const std::vector<PagePoint>& points) override;
    void DrawRect(const PageRect& rect) override { target_.DrawRect(Moved(rect)); }
    void DrawEllipse(const PageRect& rect) override { target_.DrawEllipse(Moved(rect)); }
    void DrawMarkers(const std::vector<PagePoint>& centres, int r, MarkerShape shape) override
    {
        target_.DrawMarkers(Moved(centres), r, shape);
    }
    void DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v) override
    {
        target_.DrawText(Moved(anchor), text, h, v);
    }
    int TextWidth(const std::string& text) override { return target_.TextWidth(text); }
    int TextHeight() override { return target_.TextHeight(); }
    void SetClip(const PageRect& rect) override { target_.SetClip(Moved(rect)); }
    void ResetClip() override { target_.ResetClip(); }

private:
    PagePoint Moved(PagePoint p) const { return {p.x - origin_.x, p.y - origin_.y}; }
    PageRect Moved(const PageRect& r) const
    {
        return {r.left - origin_.x, r.top - origin_.y, r.right - origin_.x, r.bottom - origin_.y};
    }
    const std::vector<PagePoint>& Moved(const std::vector<PagePoint>& points);
    CPainter& target_;
    PagePoint origin_;
    std::vector<PagePoint> moved_;  // reused from call to call
};

}  // namespace kiv
