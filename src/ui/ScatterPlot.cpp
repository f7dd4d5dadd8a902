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

// The class symbols: a circle, a square or a triangle.
MarkerShape ShapeOfClass(int pointClass)
{
    const int shape = pointClass % 3;
    if (shape == 1) return MarkerShape::Square;
    if (shape == 2 || shape == -2) return MarkerShape::Triangle;
    return MarkerShape::Circle;
}

// Point numbers are written only while at most this many points are visible: beyond that they
// cover one another and the points; zooming in brings them back.
constexpr int kMaxNumberedPoints = 2000;

// Consecutive points of one symbol, size and colour, handed to the painter in one call.
class CMarkerBatch {
public:
    explicit CMarkerBatch(CPainter& painter) : painter_(painter) {}

    void Add(PagePoint centre, int r, MarkerShape shape, Rgb colour)
    {
        const bool same = r == r_ && shape == shape_ && colour.r == colour_.r && colour.g == colour_.g &&
                          colour.b == colour_.b;
        if (!same) Flush();
        r_ = r;
        shape_ = shape;
        colour_ = colour;
        centres_.push_back(centre);
    }

    void Flush()
    {
        if (centres_.empty()) return;
        painter_.SetBrush(colour_);
        painter_.DrawMarkers(centres_, r_, shape_);
        centres_.clear();
    }

private:
    CPainter& painter_;
    std::vector<PagePoint> centres_;
    int r_ = -1;
    MarkerShape shape_ = MarkerShape::Circle;
    Rgb colour_;
};

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
    const auto visible = [&](int i) {
        const double x = series.x[i], y = series.y[i];
        return x >= w.xMin && x <= w.xMax && y >= w.yMin && y <= w.yMax;
    };
    const auto centre = [&](int i) -> PagePoint {
        return {plot.left + static_cast<int>((series.x[i] - w.xMin) * sx),
                plot.bottom - static_cast<int>((series.y[i] - w.yMin) * sy)};
    };
    const auto radius = [&](double t) {
        if (look.size == MarkerSize::AreaByValue) return static_cast<int>(look.baseRadius * 2 * std::sqrt(t));
        if (look.size == MarkerSize::LengthByValue) return static_cast<int>(look.baseRadius * 2 * t);
        return look.baseRadius;
    };
    painter.SetPen(kBlack, 0);
    CMarkerBatch batch(painter);
    int shown = 0;
    for (int i = 0; i < series.Size(); ++i) {
        if (!visible(i)) continue;
        ++shown;
        const double t = (series.y[i] - range_.yMin) * valueScale;
        const int r = radius(t);
        if (look.size == MarkerSize::None || r <= 0) continue;
        const int pointClass = series.classes.empty() ? 0 : series.classes[i];
        const Rgb colour = series.unknowns && look.colour == 0 ? kUnknownColour : PointColour(look.colour, pointClass, t);
        batch.Add(centre(i), r, look.classSymbol ? ShapeOfClass(pointClass) : MarkerShape::Circle,
                  Mix(colour, kWhite, look.lightness));
    }
    batch.Flush();
    if (look.number == PointNumber::None || shown > kMaxNumberedPoints) return;
    std::string label;
    char buffer[32];
    for (int i = 0; i < series.Size(); ++i) {
        if (!visible(i)) continue;
        const int r = std::max(0, radius((series.y[i] - range_.yMin) * valueScale));
        const int number = look.number == PointNumber::Block && !series.blocks.empty() ? series.blocks[i] : i + 1;
        const int n = std::snprintf(buffer, sizeof buffer, series.unknowns ? "Q%d" : "%d", number);
        label.assign(buffer, static_cast<size_t>(std::max(0, n)));
        const PagePoint p = centre(i);
        painter.DrawText({p.x + r, p.y - r}, label, HAlign::Left, VAlign::Bottom);
    }
}

}  // namespace kiv
