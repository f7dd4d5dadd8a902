#include "ui/ChromatogramTrace.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Format.h"
#include "ui/PageSettings.h"

namespace kiv {

namespace {

// Trace colours in turn: the first trace black, then blue, red, green, violet.
constexpr Rgb kTraceColours[] = {{0, 0, 0}, {0, 0, 200}, {200, 0, 0}, {0, 140, 0}, {140, 0, 140}};
constexpr Rgb kSelectionColour{230, 120, 0};

}  // namespace

void CChromatogramTrace::Show(const CChromatogram* chromatogram)
{
    chromatogram_ = chromatogram;
    const bool none = chromatogram == nullptr || chromatogram->xAxis.Cols() == 0 || chromatogram->traces.Rows() == 0;
    SetEmpty(none);
    CMatrix table;
    if (!none) {
        const int n = chromatogram->xAxis.Cols(), traces = chromatogram->traces.Rows();
        table.Alloc(n, traces + 1);
        for (int i = 1; i <= n; ++i) {
            table.Set(i, 1, chromatogram->xAxis.Get(1, i));
            for (int t = 1; t <= traces; ++t) table.Set(i, t + 1, chromatogram->traces.Get(t, i));
        }
    }
    ShowResult(std::move(table));
}

std::string CChromatogramTrace::CopyText() const
{
    std::string text = "retention time\n";
    for (int i = 1; i <= result_.Rows(); ++i) {
        for (int j = 1; j <= result_.Cols(); ++j) text += Format("%10.3f", result_.Get(i, j));
        text += "\n";
    }
    return text;
}

std::optional<int> CChromatogramTrace::ItemAt(PagePoint p) const
{
    if (IsEmpty() || !Placement().Contains(p)) return std::nullopt;
    double x = 0, y = 0;
    ToData(p, x, y);
    int best = 0;
    double bestDistance = 0;
    for (int i = 1; i <= result_.Rows(); ++i) {
        const double d = std::fabs(result_.Get(i, 1) - x);
        if (best == 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    if (best == 0) return std::nullopt;
    return best;
}

AxisRange CChromatogramTrace::DataRange() const
{
    if (result_.Rows() == 0) return {0, 1, 0, 1};
    AxisRange r{result_.Get(1, 1), result_.Get(1, 1), 0, 0};
    for (int i = 1; i <= result_.Rows(); ++i) {
        r.xMin = std::min(r.xMin, result_.Get(i, 1));
        r.xMax = std::max(r.xMax, result_.Get(i, 1));
        for (int j = 2; j <= result_.Cols(); ++j) {
            r.yMin = std::min(r.yMin, result_.Get(i, j));
            r.yMax = std::max(r.yMax, result_.Get(i, j));
        }
    }
    // Room above the highest peak.
    r.yMax += 0.05 * (r.yMax - r.yMin);
    return r;
}

PageRect CChromatogramTrace::PlotArea() const
{
    const PageRect box = Placement();
    const int L = DiagramLabelHeight();
    return {box.left + 3 * L, box.top + L, box.right - L, box.bottom - 3 * L / 2};
}

void CChromatogramTrace::DrawContent(CPainter& painter) const
{
    const PageRect plot = PlotArea();
    const int labelHeight = DiagramLabelHeight();
    UseDiagramFont(painter);
    painter.SetTextColour(kBlack);
    const AxisRange w = ZoomWindow();
    painter.DrawText({plot.left, plot.bottom + labelHeight / 4}, Format("%0.2f", w.xMin), HAlign::Left, VAlign::Top);
    painter.DrawText({plot.right, plot.bottom + labelHeight / 4}, Format("%0.2f", w.xMax), HAlign::Right, VAlign::Top);
    painter.DrawText({plot.left - labelHeight / 4, plot.top}, Format("%0.4g", w.yMax), HAlign::Right, VAlign::Top);
    painter.DrawText({plot.left - labelHeight / 4, plot.bottom}, Format("%0.4g", w.yMin), HAlign::Right, VAlign::Bottom);
    painter.SetClip(plot);
    for (int t = 2; t <= result_.Cols(); ++t) DrawTrace(painter, t, plot);
    DrawSelection(painter, plot);
    painter.ResetClip();
    // Legends in the colour of their trace.
    const std::vector<std::string>& legends = chromatogram_->legends;
    int x = plot.left;
    for (size_t t = 0; t < legends.size() && t + 2 <= size_t(result_.Cols()); ++t) {
        painter.SetTextColour(kTraceColours[t % std::size(kTraceColours)]);
        painter.DrawText({x, Placement().top}, legends[t], HAlign::Left, VAlign::Top);
        x += painter.TextWidth(legends[t]) + labelHeight;
    }
    painter.SetPen(kBlack, Style().penWidth);
    painter.SetNoBrush();
    painter.DrawRect(plot);
}

void CChromatogramTrace::DrawTrace(CPainter& painter, int column, const PageRect& plot) const
{
    painter.SetPen(kTraceColours[(column - 2) % std::size(kTraceColours)], Style().penWidth);
    const AxisRange w = ZoomWindow();
    std::vector<PagePoint> points;
    points.reserve(std::min(result_.Rows(), 4 * std::max(1, plot.Width())));
    for (int i = 1; i <= result_.Rows(); ++i) {
        const double x = result_.Get(i, 1);
        // The points just outside the window keep the line running to its edge.
        const bool inside = x >= w.xMin && x <= w.xMax;
        const bool neighbour = (x < w.xMin && result_.Get(i + 1, 1) >= w.xMin) ||
                               (x > w.xMax && i > 1 && result_.Get(i - 1, 1) <= w.xMax);
        if (inside || neighbour) points.push_back(ToPage(x, result_.Get(i, column)));
    }
    if (points.size() >= 2) painter.DrawPolyline(points);
}

void CChromatogramTrace::DrawSelection(CPainter& painter, const PageRect& plot) const
{
    painter.SetPen(kSelectionColour, Style().penWidth);
    const CMatrixI& selected = chromatogram_->selected;
    for (int k = 1; k <= selected.Count(); ++k) {
        const int scan = selected.GetFlat(k);
        if (scan < 1 || scan > result_.Rows()) continue;
        const int x = ToPage(result_.Get(scan, 1), 0).x;
        painter.DrawLine({x, plot.top}, {x, plot.bottom});
    }
}

}  // namespace kiv
