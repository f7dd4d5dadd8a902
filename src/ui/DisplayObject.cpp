#include "ui/DisplayObject.h"

#include <algorithm>
#include <cmath>

#include "base/TextFile.h"
#include "ui/PageSettings.h"

namespace kiv {

namespace {

// One zoom level halves (or doubles) the visible range.
constexpr double kZoomFactor = 2.0;

// A data range of no width (one point, one peak) is widened by half a unit each way, so that the
// window always maps to the page.
double Widened(double& min, double& max)
{
    if (!std::isfinite(min) || !std::isfinite(max)) min = 0, max = 1;
    if (max - min < 1e-300) min -= 0.5, max += 0.5;
    return max - min;
}

int ToPageUnit(double v)
{
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::lround(std::clamp(v, -1e8, 1e8)));
}

}  // namespace

AxisRange CDisplayObject::FullRange() const
{
    AxisRange r = DataRange();
    Widened(r.xMin, r.xMax);
    Widened(r.yMin, r.yMax);
    return r;
}

int OptionDigit(int options, int k)
{
    long long power = 1;
    for (int i = 1; i < k; ++i) power *= 10;
    const long long n = options < 0 ? -static_cast<long long>(options) : options;
    return static_cast<int>((n % (power * 10)) / power);
}

void CDisplayObject::Draw(CPainter& painter, const PageRect& area) const
{
    if (placement_.IsEmpty() || !placement_.Intersects(area)) return;
    if (frame_) {
        painter.SetPen(kFrameGrey, style_.penWidth);
        painter.SetBrush(kWhite);
        painter.DrawRect(placement_);
    }
    if (empty_) {
        painter.SetFont(FontRole::Small, 0, 400);
        painter.SetTextColour(kFrameGrey);
        const PagePoint centre{(placement_.left + placement_.right) / 2, (placement_.top + placement_.bottom) / 2};
        painter.DrawText(centre, "Empty", HAlign::Centre, VAlign::Middle);
        return;
    }
    DrawContent(painter);
}

bool CDisplayObject::SaveMatrix(const std::string& path) const
{
    return WriteMatrixRows(path, result_, kListingFormat);
}

bool CDisplayObject::WriteMatrixRows(const std::string& path, const CMatrix& matrix, const char* format)
{
    CTextWriter out;
    if (!out.Open(path)) return false;
    for (int i = 1; i <= matrix.Rows(); ++i) {
        for (int j = 1; j <= matrix.Cols(); ++j) out.Print(format, matrix.Get(i, j));
        out.Write("\n");
    }
    return true;
}

void CDisplayObject::ShowResult(CMatrix result)
{
    result_ = CMatrixNumerics(std::move(result));
    window_ = Rounded(FullRange());
}

int CDisplayObject::DiagramLabelHeight() const
{
    return FontHeight(FontRole::Label, style_.zoom) * style_.fontSize / 10;
}

void CDisplayObject::UseDiagramFont(CPainter& painter) const
{
    painter.SetFont(FontRole::Label, DiagramLabelHeight(), FontWeight(FontRole::Label));
}

void CDisplayObject::ZoomIn(PagePoint around)
{
    if (!IsZoomable()) return;
    double x = 0, y = 0;
    ToData(around, x, y);
    const double halfX = (window_.xMax - window_.xMin) / (2 * kZoomFactor);
    const double halfY = (window_.yMax - window_.yMin) / (2 * kZoomFactor);
    SetZoomWindow({x - halfX, x + halfX, y - halfY, y + halfY});
}

void CDisplayObject::ZoomOut()
{
    if (!IsZoomable()) return;
    const double cx = (window_.xMin + window_.xMax) / 2, cy = (window_.yMin + window_.yMax) / 2;
    const double halfX = (window_.xMax - window_.xMin) * kZoomFactor / 2;
    const double halfY = (window_.yMax - window_.yMin) * kZoomFactor / 2;
    const AxisRange full = FullRange();
    // Never wider than the data on an axis that already shows all of them.
    AxisRange out{cx - halfX, cx + halfX, cy - halfY, cy + halfY};
    if (out.xMax - out.xMin >= full.xMax - full.xMin) out.xMin = full.xMin, out.xMax = full.xMax;
    if (out.yMax - out.yMin >= full.yMax - full.yMin) out.yMin = full.yMin, out.yMax = full.yMax;
    SetZoomWindow(out);
}

void CDisplayObject::ZoomReset()
{
    if (IsZoomable()) window_ = Rounded(FullRange());
}

void CDisplayObject::ZoomTo(const PageRect& pageRect)
{
    if (!IsZoomable()) return;
    const PageRect plot = PlotArea();
    const PageRect r = pageRect.Normalized();
    const PageRect cut{std::max(r.left, plot.left), std::max(r.top, plot.top), std::min(r.right, plot.right),
                       std::min(r.bottom, plot.bottom)};
    if (cut.IsEmpty()) return;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ToData({cut.left, cut.bottom}, x0, y0);
    ToData({cut.right, cut.top}, x1, y1);
    SetZoomWindow({x0, x1, y0, y1});
}

void CDisplayObject::SetZoomWindow(AxisRange window)
{
    // A window with its limits the wrong way round or not finite cannot be shown.
    const bool finite = std::isfinite(window.xMin) && std::isfinite(window.xMax) && std::isfinite(window.yMin) &&
                        std::isfinite(window.yMax);
    if (!finite || window.xMax <= window.xMin || window.yMax <= window.yMin) return;
    window_ = Rounded(window);
}

PagePoint CDisplayObject::ToPage(double x, double y) const
{
    const PageRect plot = PlotArea();
    const double fx = (x - window_.xMin) / (window_.xMax - window_.xMin);
    const double fy = (y - window_.yMin) / (window_.yMax - window_.yMin);
    // Far outside points are held at a distance that keeps the integer page coordinates valid.
    return {ToPageUnit(plot.left + fx * plot.Width()), ToPageUnit(plot.bottom - fy * plot.Height())};
}

void CDisplayObject::ToData(PagePoint p, double& x, double& y) const
{
    const PageRect plot = PlotArea();
    const double fx = plot.Width() > 0 ? double(p.x - plot.left) / plot.Width() : 0;
    const double fy = plot.Height() > 0 ? double(plot.bottom - p.y) / plot.Height() : 0;
    x = window_.xMin + fx * (window_.xMax - window_.xMin);
    y = window_.yMin + fy * (window_.yMax - window_.yMin);
}

}  // namespace kiv
