#pragma once
// A scatter plot: two columns of a matrix as points, optionally with a second series (the
// unknowns, or the predictions of the same objects joined to them by lines). The display options
// number chooses point numbers, marker size and colour, lightness, prediction lines and title.
#include <string>
#include <vector>

#include "ui/DisplayObject.h"

namespace kiv {

struct ScatterSeries {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<int> blocks;  // library block of each point (a hit as -k), 0: none
    std::vector<int> classes;  // class of each point, 0: none
    bool unknowns = false;  // numbers shown as "Q%d"
    int Size() const { return static_cast<int>(x.size()); }
};

struct ScatterData {
    std::string title;
    ScatterSeries objects;
    ScatterSeries second;  // unknowns, or the predictions of the objects
    bool prediction = false;  // second holds predictions: point i is joined to object i
};

// The options digits.
enum class PointNumber { Object, Block, None };
enum class MarkerSize { Small, Medium, Large, AreaByValue, LengthByValue, None };

class CScatterPlot : public CDisplayObject {
public:
    CScatterPlot();
    // Shows data; no points make the object empty.
    void Show(ScatterData data);
    const ScatterData& Data() const { return data_; }

    bool IsZoomable() const override { return true; }
    bool IsSelectable() const override { return true; }
    std::string OptionsPrompt() const override;
    // "       x data\t       y data", then "%13.6f\t%13.6f" per point, objects then second series.
    std::string CopyText() const override;
    // The point (1-based, objects then second series) nearest to p within a marker's reach.
    std::optional<int> ItemAt(PagePoint p) const override;
    PageRect PlotArea() const override;
    // The library block of an item, 0 when it has none.
    int BlockOf(int item) const;

protected:
    void DrawContent(CPainter& painter) const override;
    AxisRange DataRange() const override;

private:
    struct Look;  // what the options digits ask for, worked out once per drawing
    Look LookOf() const;
    void DrawAxes(CPainter& painter, const PageRect& plot) const;
    void DrawPredictionLines(CPainter& painter) const;
    void DrawSeries(CPainter& painter, const ScatterSeries& series, const Look& look, const PageRect& plot) const;
    ScatterData data_;
    AxisRange range_;
};

}  // namespace kiv
