#pragma once
// Painters that draw nowhere, for layout without a screen, tests and benchmarks. Text is measured
// as 0.6 x font height per character and a line is the font height.
#include <string>
#include <vector>

#include "ui/Painter.h"

namespace kiv {

// Keeps the font and measures text; every drawing call does nothing.
class CMeasuringPainter : public CPainter {
public:
    void SetPen(Rgb, int) override {}
    void SetBrush(Rgb) override {}
    void SetNoBrush() override {}
    void SetFont(FontRole role, int height, int weight) override;
    void SetTextColour(Rgb) override {}
    void DrawLine(PagePoint, PagePoint) override {}
    void DrawPolyline(const std::vector<PagePoint>&) override {}
    void DrawPolygon(const std::vector<PagePoint>&) override {}
    void DrawRect(const PageRect&) override {}
    void DrawEllipse(const PageRect&) override {}
    void DrawText(PagePoint, const std::string&, HAlign, VAlign) override {}
    int TextWidth(const std::string& text) override;
    int TextHeight() override { return fontHeight_; }
    void SetClip(const PageRect&) override {}
    void ResetClip() override {}

protected:
    int fontHeight_ = 300;  // the default height of the small font
};

// Counts the drawing calls and the points they carry (the benchmark's surface).
class CCountingPainter : public CMeasuringPainter {
public:
    void DrawLine(PagePoint, PagePoint) override { Count(2); }
    void DrawPolyline(const std::vector<PagePoint>& points) override { Count(points.size()); }
    void DrawPolygon(const std::vector<PagePoint>& points) override { Count(points.size()); }
    void DrawRect(const PageRect&) override { Count(4); }
    void DrawEllipse(const PageRect&) override { Count(4); }
    void DrawText(PagePoint, const std::string& text, HAlign, VAlign) override { Count(text.size()); }

    long long calls = 0;
    long long points = 0;

private:
    void Count(size_t n)
    {
        ++calls;
        points += static_cast<long long>(n);
    }
};

// Writes every call as one line of text ("rect 0 0 100 100", "text 50 50 Empty"), so that a
// test can compare what an object drew.
class CRecordingPainter : public CMeasuringPainter {
public:
    void SetPen(Rgb colour, int width) override;
    void SetBrush(Rgb colour) override;
    void SetNoBrush() override;
    void SetTextColour(Rgb colour) override;
    void DrawLine(PagePoint from, PagePoint to) override;
    void DrawPolyline(const std::vector<PagePoint>& points) override;
    void DrawPolygon(const std::vector<PagePoint>& points) override;
    void DrawRect(const PageRect& rect) override;
    void DrawEllipse(const PageRect& rect) override;
    void DrawText(PagePoint anchor, const std::string& text, HAlign h, VAlign v) override;
    void SetClip(const PageRect& rect) override;
    void ResetClip() override;

    std::vector<std::string> calls;
};

}  // namespace kiv
