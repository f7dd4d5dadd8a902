#pragma once
// The one drawing surface of the presentation model. Every display object draws through a
// CPainter, so the same code paints the screen, the printer and exported picture files. Page
// coordinates are in units of 0.01 mm with y growing downwards.
#include <string>
#include <vector>

namespace kiv {

struct PagePoint {
    int x = 0;
    int y = 0;
};

struct PageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(PagePoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool Intersects(const PageRect& other) const
    {
        return !IsEmpty() && !other.IsEmpty() && left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
    // The same rectangle with left <= right and top <= bottom (a rubber band drawn up or left).
    PageRect Normalized() const;
};

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// Title: height 540 * zoom / 100, weight 600; label: 360 * zoom / 100, weight 400; small: the
// surface's default height, weight 400.
enum class FontRole { Title, Label, Small };
enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Middle, Bottom };
// The point symbols of scatter plots.
enum class MarkerShape { Circle, Square, Triangle };

class CPainter {
public:
    virtual ~CPainter() = default;
    virtual void SetPen(Rgb colour, int width) = 0;  // width in page units; 0 = thinnest
    virtual void SetBrush(Rgb colour) = 0;
    virtual void SetNoBrush() = 0;
    virtual void SetFont(FontRole role, int height, int weight) = 0;  // height in page units
    virtual void SetTextColour(Rgb colour) = 0;
    virtual void DrawLine(PagePoint from, PagePoint to) = 0;
    virtual void DrawPolyline(const std::vector<PagePoint>& points) = 0;
    virtual void DrawPolygon(const std::vector<PagePoint>& points) = 0;  // outlined with the pen, filled with the brush
    virtual void DrawRect(const PageRect& rect) = 0;  // outlined with the pen, filled with the brush
    virtual void DrawEllipse(const PageRect& rect) = 0;
    // One symbol of radius r around each centre, outlined with the pen and filled with the brush.
    // Plots draw their points in such batches, so that a surface can draw many symbols at once;
    // by default each is drawn as a rectangle, polygon or ellipse.
    virtual void DrawMarkers(const std::vector<PagePoint>& centres, int r, MarkerShape shape);
    // 8-bit Latin-1 text on a transparent background, placed relative to anchor.
    virtual void DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v) = 0;
    virtual int TextWidth(const std::string& text) = 0;  // page units, current font
    virtual int TextHeight() = 0;  // line height of the current font, page units
    virtual void SetClip(const PageRect& rect) = 0;
    virtual void ResetClip() = 0;
};

}  // namespace kiv
