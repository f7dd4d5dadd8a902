#include "ui/MassSpectrumPlot.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "base/Format.h"
#include "ui/PageSettings.h"

namespace kiv {

namespace {

// Peaks labelled with their mass: the largest ones.
constexpr int kLabelledPeaks = 8;
constexpr Rgb kStickColour{0, 0, 160};
constexpr Rgb kPeakTextColour{160, 0, 0};

// Every k-th tick is labelled, k the first of 1, 2, 5, 10 that gives at most ten labels whose
// values the label format prints exactly.
double LabelSpacing(const AxisScale& a)
{
    const double unit = std::pow(10.0, std::min(a.labelExponent, 0));  // last printed decimal
    for (int k : {1, 2, 5}) {
        const double ratio = k * a.step / unit;
        if (a.steps / k <= 10 && std::fabs(ratio - std::round(ratio)) < 1e-9) return k * a.step;
    }
    return 10 * a.step;
}

bool OnSpacing(double value, double spacing)
{
    const double ratio = value / spacing;
    return std::fabs(ratio - std::round(ratio)) < 1e-6;
}

}  // namespace

void CMassSpectrumPlot::Show(const CMassSpectrum& spectrum, const std::string& title, int item)
{
    spectrum_ = spectrum;
    item_ = item;
    SetTitle(title);
    CMatrix peaks;
    int n = 0;
    ForEachPeak([&](double, double) { ++n; });
    peaks.Alloc(n, 2);
    int row = 0;
    ForEachPeak([&](double mass, double intensity) {
        ++row;
        peaks.Set(row, 1, mass);
        peaks.Set(row, 2, intensity);
    });
    SetEmpty(spectrum.empty != 0 || n == 0);
    ShowResult(std::move(peaks));
}

template <class Visit>
void CMassSpectrumPlot::ForEachPeak(Visit visit) const
{
    if (spectrum_.empty) return;
    if (spectrum_.isVector) {
        const int last = spectrum_.vector.Cols();
        for (int m = std::max(1, int(spectrum_.firstMass)); m <= last; ++m) {
            const double intensity = spectrum_.vector.Get(1, m);
            if (intensity > 0) visit(double(m), intensity);
        }
        return;
    }
    for (int k = 1; k <= spectrum_.peaks.Cols(); ++k) {
        const double intensity = spectrum_.peaks.Get(2, k);
        if (intensity > 0) visit(spectrum_.peaks.Get(1, k), intensity);
    }
}

bool CMassSpectrumPlot::RealMasses() const { return !spectrum_.isVector && spectrum_.ndec > 0; }

std::string CMassSpectrumPlot::OptionsPrompt() const
{
    return "Enter Display Options:\n00\tdefault\n01\tblack&white\n10\tno peak text\n20\tno scale text\n"
           "30\tno peak && scale text\n";
}

std::string CMassSpectrumPlot::CopyText() const
{
    std::string text = "mass Intensity of Mass Spectrum:\n";
    ForEachPeak([&](double mass, double intensity) {
        if (spectrum_.isVector) {
            text += Format("%6d %7.3f\n", static_cast<int>(mass), intensity);
        } else {
            text += Format("%10.3f %7.3f\n", mass, intensity);
        }
    });
    return text;
}

std::optional<int> CMassSpectrumPlot::ItemAt(PagePoint p) const
{
    if (item_ == 0 || IsEmpty() || !Placement().Contains(p)) return std::nullopt;
    return item_;
}

AxisRange CMassSpectrumPlot::DataRange() const
{
    AxisRange r{1e300, -1e300, 0, 0};
    ForEachPeak([&](double mass, double intensity) {
        r.xMin = std::min(r.xMin, mass);
        r.xMax = std::max(r.xMax, mass);
        r.yMax = std::max(r.yMax, intensity);
    });
    if (r.xMin > r.xMax) return {0, 1, 0, 100};
    // A stick at either end stands inside the frame.
    r.xMin -= 1;
    r.xMax += 1;
    return r;
}

AxisRange CMassSpectrumPlot::Rounded(AxisRange window) const
{
    const AxisRange full = FullRange();
    ScaleAxis(window.xMin, window.xMax, full.xMin, full.xMax, AxisKind::Mass);
    ScaleAxis(window.yMin, window.yMax, full.yMin, full.yMax, AxisKind::Intensity);
    return window;
}

AxisScale CMassSpectrumPlot::MassScale() const
{
    AxisRange w = ZoomWindow();
    const AxisRange full = FullRange();
    return ScaleAxis(w.xMin, w.xMax, full.xMin, full.xMax, AxisKind::Mass);
}

AxisScale CMassSpectrumPlot::IntensityScale() const
{
    AxisRange w = ZoomWindow();
    const AxisRange full = FullRange();
    return ScaleAxis(w.yMin, w.yMax, full.yMin, full.yMax, AxisKind::Intensity);
}

PageRect CMassSpectrumPlot::PlotArea() const
{
    const PageRect box = Placement();
    const int L = DiagramLabelHeight();
    return {box.left + 3 * L, box.top + 3 * L / 2, box.right - L, box.bottom - 3 * L / 2};
}

void CMassSpectrumPlot::DrawContent(CPainter& painter) const
{
    const PageRect plot = PlotArea();
    const bool blackAndWhite = OptionDigit(Options(), 1) == 1;
    const int text = OptionDigit(Options(), 2);
    UseDiagramFont(painter);
    painter.SetTextColour(kBlack);
    painter.DrawText({(plot.left + plot.right) / 2, Placement().top}, Title(), HAlign::Centre, VAlign::Top);
    if (text != 2 && text != 3) DrawAxes(painter, plot, MassScale(), IntensityScale());
    painter.SetClip(plot);
    painter.SetPen(blackAndWhite ? kBlack : kStickColour, Style().penWidth);
    DrawSticks(painter);
    painter.ResetClip();
    painter.SetTextColour(blackAndWhite ? kBlack : kPeakTextColour);
    if (text != 1 && text != 3) DrawPeakLabels(painter);
    painter.SetPen(kBlack, Style().penWidth);
    painter.SetNoBrush();
    painter.DrawRect(plot);
}

void CMassSpectrumPlot::DrawAxes(CPainter& painter, const PageRect& plot, const AxisScale& mass,
                                 const AxisScale& intensity) const
{
    painter.SetPen(kBlack, Style().penWidth);
    const int tick = std::max(1, plot.Height() / 60);
    const std::string massFormat = mass.LabelFormat();
    const double massSpacing = LabelSpacing(mass);
    for (int k = 0; k <= mass.steps; ++k) {
        const double value = mass.start + k * mass.step;
        const PagePoint p = ToPage(value, 0);
        const bool labelled = OnSpacing(value, massSpacing);
        painter.DrawLine({p.x, plot.bottom}, {p.x, plot.bottom + (labelled ? 2 * tick : tick)});
        if (labelled) {
            painter.DrawText({p.x, plot.bottom + 2 * tick}, Format(massFormat.c_str(), value), HAlign::Centre, VAlign::Top);
        }
    }
    const std::string intensityFormat = intensity.LabelFormat();
    const double intensitySpacing = LabelSpacing(intensity);
    for (int k = 0; k <= intensity.steps; ++k) {
        const double value = intensity.start + k * intensity.step;
        if (!OnSpacing(value, intensitySpacing)) continue;
        const PagePoint p = ToPage(0, value);
        painter.DrawLine({plot.left - 2 * tick, p.y}, {plot.left, p.y});
        painter.DrawText({plot.left - 3 * tick, p.y}, Format(intensityFormat.c_str(), value), HAlign::Right, VAlign::Middle);
    }
}

void CMassSpectrumPlot::DrawSticks(CPainter& painter) const
{
    const AxisRange w = ZoomWindow();
    ForEachPeak([&](double mass, double intensity) {
        if (mass < w.xMin || mass > w.xMax) return;
        painter.DrawLine(ToPage(mass, std::max(0.0, w.yMin)), ToPage(mass, intensity));
    });
}

void CMassSpectrumPlot::DrawPeakLabels(CPainter& painter) const
{
    const AxisRange w = ZoomWindow();
    std::vector<std::pair<double, double>> visible;  // intensity, mass
    ForEachPeak([&](double mass, double intensity) {
        if (mass >= w.xMin && mass <= w.xMax) visible.emplace_back(intensity, mass);
    });
    const size_t n = std::min<size_t>(kLabelledPeaks, visible.size());
    std::partial_sort(visible.begin(), visible.begin() + n, visible.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    const char* format = RealMasses() ? "%0.1f" : "%0.0f";
    for (size_t k = 0; k < n; ++k) {
        const PagePoint top = ToPage(visible[k].second, visible[k].first);
        painter.DrawText(top, Format(format, visible[k].second), HAlign::Centre, VAlign::Bottom);
    }
}

}  // namespace kiv
