#include "ui/MeasuringPainter.h"

#include "base/Format.h"

namespace kiv {

namespace {

const char* AlignName(HAlign h)
{
    switch (h) {
    case HAlign::Left: return "left";
    case HAlign::Centre: return "centre";
    case HAlign::Right: return "right";
    }
    return "";
}

const char* AlignName(VAlign v)
{
    switch (v) {
    case VAlign::Top: return "top";
    case VAlign::Middle: return "middle";
    case VAlign::Bottom: return "bottom";
    }
    return "";
}

std::string PointsText(const char* what, const std::vector<PagePoint>& points)
{
    std::string line = what;
    for (const PagePoint& p : points) line += Format(" %d,%d", p.x, p.y);
    return line;
}

std::string RectText(const char* what, const PageRect& r)
{
    return Format("%s %d %d %d %d", what, r.left, r.top, r.right, r.bottom);
}

}  // namespace

void CMeasuringPainter::SetFont(FontRole, int height, int)
{
    fontHeight_ = height > 0 ? height : 300;
}

int CMeasuringPainter::TextWidth(const std::string& text)
{
    return static_cast<int>(0.6 * fontHeight_ * static_cast<double>(text.size()));
}

void CRecordingPainter::SetPen(Rgb c, int width) { calls.push_back(Format("pen %d %d %d %d", c.r, c.g, c.b, width)); }

void CRecordingPainter::SetBrush(Rgb c) { calls.push_back(Format("brush %d %d %d", c.r, c.g, c.b)); }

void CRecordingPainter::SetNoBrush() { calls.push_back("no brush"); }

void CRecordingPainter::SetTextColour(Rgb c) { calls.push_back(Format("text colour %d %d %d", c.r, c.g, c.b)); }

void CRecordingPainter::DrawLine(PagePoint a, PagePoint b)
{
    calls.push_back(Format("line %d,%d %d,%d", a.x, a.y, b.x, b.y));
}

void CRecordingPainter::DrawPolyline(const std::vector<PagePoint>& points)
{
    calls.push_back(PointsText("polyline", points));
}

void CRecordingPainter::DrawPolygon(const std::vector<PagePoint>& points)
{
    calls.push_back(PointsText("polygon", points));
}

void CRecordingPainter::DrawRect(const PageRect& rect) { calls.push_back(RectText("rect", rect)); }

void CRecordingPainter::DrawEllipse(const PageRect& rect) { calls.push_back(RectText("ellipse", rect)); }

void CRecordingPainter::DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v)
{
    calls.push_back(Format("text %d,%d %s %s %s", anchor.x, anchor.y, AlignName(h), AlignName(v), text.c_str()));
}

void CRecordingPainter::SetClip(const PageRect& rect) { calls.push_back(RectText("clip", rect)); }

void CRecordingPainter::ResetClip() { calls.push_back("no clip"); }

}  // namespace kiv
