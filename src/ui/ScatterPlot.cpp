#include "ui/ScatterPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Format.h"
#include "ui/PageSettings.h"

namespace kiv {

namespace {

// Title on, every other option at its first choice.
constexpr int kDefaultScatterOptions = 100000000;

constexpr Rgb kClassColours[] = {{0, 0, 0},     {200, 0, 0},   {0, 0, 200},   {0, 140, 0},  {200, 120, 0},
                                 {140, 0, 140}, {0, 140, 140}, {120, 80, 40}, {90, 90, 90}, {200, 0, 120}};
constexpr Rgb kUnknownColour{220, 0, 0};
constexpr Rgb kPredictionLineColour{160, 160, 160};

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * t)); };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// The colour of a point for the colour digit: fixed, by class, or a ramp over the value t in 0..1.
Rgb PointColour(int digit, int pointClass, double t)
{
    constexpr Rgb white{255, 255, 255}, red{220, 0, 0}, blue{0, 0, 220}, grey{128, 128, 128};
    switch (digit) {
    case 0: return kClassColours[static_cast<unsigned>(pointClass) % std::size(kClassColours)];
    case 1: return red;
    case 2: return blue;
    case 3: return grey;
    case 4: return Mix(white, red, t);
    case 5: return Mix(white, blue, t);
    case 6: return Mix({140, 0, 200}, red, t);
    case 7: return Mix(red, {255, 220, 0}, t);
    case 8: return Mix(red, blue, t);
    default: return Mix(white, grey, t);
    }
}

MarkerSize MarkerSizeOf(int digit)
{
    if (digit <= 2) return digit == 0 ? MarkerSize::Small : digit == 1 ? MarkerSize::Medium : MarkerSize::Large;
    if (digit <= 5) return MarkerSize::AreaByValue;
    if (digit <= 8) return MarkerSize::LengthByValue;
    return MarkerSize::None;
}

// A circle, a square or a triangle (the class symbols) of radius r around p; triangle is the
// caller's buffer, so that drawing many points allocates nothing.
void DrawMarker(CPainter& painter, int shape, PagePoint p, int r, std::vector<PagePoint>& triangle)
{
    if (shape == 1) {
        painter.DrawRect({p.x - r, p.y - r, p.x + r, p.y + r});
    } else if (shape == 2 || shape == -2) {
        triangle = {{p.x, p.y - r}, {p.x + r, p.y + r}, {p.x - r, p.y + r}};
        painter.DrawPolygon(triangle);
    } else {
        painter.DrawEllipse({p.x - r, p.y - r, p.x + r, p.y + r});
    }
}

}  // namespace

struct CScatterPlot::Look {
    PointNumber number = PointNumber::Object;
    bool classSymbol = true;
    MarkerSize size = MarkerSize::Small;
    int baseRadius = 0;  // page units: small, medium or large
    int colour = 0;
    double lightness = 0;  // 0 full colour .. 0.9 very light
    bool predictionLines = true;
    bool title = true;
};

CScatterPlot::CScatterPlot() { SetOptions(kDefaultScatterOptions); }

void CScatterPlot::Show(ScatterData data)
{
    data_ = std::move(data);
    const int n = data_.objects.Size() + data_.second.Size();
    range_ = {1e300, -1e300, 1e300, -1e300};
    CMatrix points;
    points.Alloc(n, 2);
    int row = 0;
    for (const ScatterSeries* s : {&data_.objects, &data_.second}) {
        for (int i = 0; i < s->Size(); ++i) {
            ++row;
            points.Set(row, 1, s->x[i]);
            points.Set(row, 2, s->y[i]);
            range_.xMin = std::min(range_.xMin, s->x[i]);
            range_.xMax = std::max(range_.xMax, s->x[i]);
            range_.yMin = std::min(range_.yMin, s->y[i]);
            range_.yMax = std::max(range_.yMax, s->y[i]);
        }
    }
    if (n == 0) range_ = {0, 1, 0, 1};
    SetTitle(data_.title);
    SetEmpty(n == 0);
    ShowResult(std::move(points));
}

std::string CScatterPlot::OptionsPrompt() const
{
    return "Enter Display Options:\n........#\tNumber: 0.object 1.block 2.none\n\t3.object 4.block 5.none no class "
           "symbol\n.......#.\tMarker Size: 0.small 1.medium 2.large 3-5.area=value 6-8.length=value 9.none\n"
           "......#..\tMarker Color: 0.class 1.red 2.blue 3.grey\n\tvalue dependant: 4.white-red 5.white-blue "
           "6.violet-red 7.red-yellow 8.red-blue 9.white-grey"
           "\n.....#...\tLightness full color(0) ... very light(9)"
           "\n....#....\tLines in Prediction (0) On (1) Off"
           "\n#........\tTitle On(1) Off(0)";
}

std::string CScatterPlot::CopyText() const
{
    std::string text = "       x data\t       y data\n";
    for (int i = 1; i <= result_.Rows(); ++i) text += Format("%13.6f\t%13.6f\n", result_.Get(i, 1), result_.Get(i, 2));
    return text;
}

int CScatterPlot::BlockOf(int item) const
{
    const int objects = data_.objects.Size();
    if (item >= 1 && item <= objects) return data_.objects.blocks.empty() ? 0 : data_.objects.blocks[item - 1];
    const int k = item - objects;
    if (k >= 1 && k <= data_.second.Size()) return data_.second.blocks.empty() ? 0 : data_.second.blocks[k - 1];
    return 0;
}

std::optional<int> CScatterPlot::ItemAt(PagePoint p) const
{
    if (IsEmpty() || !PlotArea().Contains(p)) return std::nullopt;
    const long long reach = std::max(LookOf().baseRadius, FontHeight(FontRole::Label, Style().zoom) / 2);
    std::optional<int> best;
    long long bestDistance = reach * reach;
    for (int i = 1; i <= result_.Rows(); ++i) {
        const PagePoint q = ToPage(result_.Get(i, 1), result_.Get(i, 2));
        const long long dx = q.x - p.x, dy = q.y - p.y;
        if (dx * dx + dy * dy <= bestDistance) {
            bestDistance = dx * dx + dy * dy;
            best = i;
        }
    }
    return best;
}

AxisRange CScatterPlot::DataRange() const
{
    // A margin of 5 % keeps the outermost markers inside the frame.
    const double mx = 0.05 * (range_.xMax - range_.xMin), my = 0.05 * (range_.yMax - range_.yMin);
    return {range_.xMin - mx, range_.xMax + mx, range_.yMin - my, range_.yMax + my};
}

PageRect CScatterPlot::PlotArea() const
{
    const PageRect box = Placement();
    const int L = DiagramLabelHeight();
    return {box.left + 3 * L, box.top + 3 * L / 2, box.right - L, box.bottom - 2 * L};
}

CScatterPlot::Look CScatterPlot::LookOf() const
{
    const int options = Options();
    Look look;
    const int number = OptionDigit(options, 1);
    look.number = number % 3 == 0 ? PointNumber::Object : number % 3 == 1 ? PointNumber::Block : PointNumber::None;
    look.classSymbol = number < 3;
    const int size = OptionDigit(options, 2);
    look.size = MarkerSizeOf(size);
    const int L = FontHeight(FontRole::Label, Style().zoom);
    const int grade = size <= 2 ? size : (size - 3) % 3;  // 0 small, 1 medium, 2 large
    look.baseRadius = L * (grade + 1) / 6;
    look.colour = OptionDigit(options, 3);
    look.lightness = OptionDigit(options, 4) / 10.0;
    look.predictionLines = OptionDigit(options, 5) == 0;
    look.title = OptionDigit(options, 9) == 1;
    return look;
}

void CScatterPlot::DrawContent(CPainter& painter) const
{
    const PageRect plot = PlotArea();
    const Look look = LookOf();
    UseDiagramFont(painter);
    painter.SetTextColour(kBlack);
    if (look.title) painter.DrawText({(plot.left + plot.right) / 2, Placement().top}, Title(), HAlign::Centre, VAlign::Top);
    DrawAxes(painter, plot);
    painter.SetClip(plot);
    if (data_.prediction && look.predictionLines) DrawPredictionLines(painter);
    painter.SetFont(FontRole::Small, 0, FontWeight(FontRole::Small));
    DrawSeries(painter, data_.objects, look, plot);
    DrawSeries(painter, data_.second, look, plot);
    painter.ResetClip();
}

void CScatterPlot::DrawAxes(CPainter& painter, const PageRect& plot) const
{
    const AxisRange w = ZoomWindow();
    painter.SetPen(kBlack, Style().penWidth);
    painter.SetNoBrush();
    painter.DrawRect(plot);
    const int gap = painter.TextHeight() / 4;
    painter.DrawText({plot.left, plot.bottom + gap}, Format("%0.4g", w.xMin), HAlign::Left, VAlign::Top);
    painter.DrawText({plot.right, plot.bottom + gap}, Format("%0.4g", w.xMax), HAlign::Right, VAlign::Top);
    painter.DrawText({plot.left - gap, plot.bottom}, Format("%0.4g", w.yMin), HAlign::Right, VAlign::Bottom);
    painter.DrawText({plot.left - gap, plot.top}, Format("%0.4g", w.yMax), HAlign::Right, VAlign::Top);
    // The zero lines, where they cross the window (scores and loadings scatter around them).
    painter.SetPen(kFrameGrey, 0);
    if (w.xMin < 0 && w.xMax > 0) {
        const int x = ToPage(0, 0).x;
        painter.DrawLine({x, plot.top}, {x, plot.bottom});
    }
    if (w.yMin < 0 && w.yMax > 0) {
        const int y = ToPage(0, 0).y;
        painter.DrawLine({plot.left, y}, {plot.right, y});
    }
}

void CScatterPlot::DrawPredictionLines(CPainter& painter) const
{
    painter.SetPen(kPredictionLineColour, 0);
    const int n = std::min(data_.objects.Size(), data_.second.Size());
    for (int i = 0; i < n; ++i) {
        painter.DrawLine(ToPage(data_.objects.x[i], data_.objects.y[i]), ToPage(data_.second.x[i], data_.second.y[i]));
    }
}

void CScatterPlot::DrawSeries(CPainter& painter, const ScatterSeries& series, const Look& look, const PageRect& plot) const
{
    // The window maps to the plot with one scale per axis, worked out once for all points.
    const AxisRange w = ZoomWindow();
    const double sx = plot.Width() / (w.xMax - w.xMin), sy = plot.Height() / (w.yMax - w.yMin);
    const double valueScale = range_.yMax > range_.yMin ? 1.0 / (range_.yMax - range_.yMin) : 0;
    std::vector<PagePoint> triangle(3);
    std::string label;
    char buffer[32];
    Rgb brush{-1, -1, -1};
    painter.SetPen(kBlack, 0);
    for (int i = 0; i < series.Size(); ++i) {
        const double x = series.x[i], y = series.y[i];
        if (!(x >= w.xMin && x <= w.xMax && y >= w.yMin && y <= w.yMax)) continue;
        const int px = plot.left + static_cast<int>((x - w.xMin) * sx);
        const int py = plot.bottom - static_cast<int>((y - w.yMin) * sy);
        const double t = (y - range_.yMin) * valueScale;
        const int pointClass = series.classes.empty() ? 0 : series.classes[i];
        Rgb colour = series.unknowns && look.colour == 0 ? kUnknownColour : PointColour(look.colour, pointClass, t);
        colour = Mix(colour, kWhite, look.lightness);
        if (colour.r != brush.r || colour.g != brush.g || colour.b != brush.b) {
            painter.SetBrush(colour);
            brush = colour;
        }
        int r = look.baseRadius;
        if (look.size == MarkerSize::AreaByValue) r = static_cast<int>(look.baseRadius * 2 * std::sqrt(t));
        if (look.size == MarkerSize::LengthByValue) r = static_cast<int>(look.baseRadius * 2 * t);
        if (look.size != MarkerSize::None && r > 0) {
            DrawMarker(painter, look.classSymbol ? pointClass % 3 : 0, {px, py}, r, triangle);
        }
        if (look.number == PointNumber::None) continue;
        const int number = look.number == PointNumber::Block && !series.blocks.empty() ? series.blocks[i] : i + 1;
        const int n = std::snprintf(buffer, sizeof buffer, series.unknowns ? "Q%d" : "%d", number);
        label.assign(buffer, static_cast<size_t>(std::max(0, n)));
        painter.DrawText({px + r, py - r}, label, HAlign::Left, VAlign::Bottom);
    }
}

}  // namespace kiv
