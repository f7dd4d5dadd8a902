#pragma once
// A mass-spectrum plot: the spectrum of a record as sticks over mass, with the largest peaks
// labelled and a scaled frame of mass and intensity axes.
#include "library/MassSpectrum.h"
#include "ui/AxisScale.h"
#include "ui/DisplayObject.h"

namespace kiv {

class CMassSpectrumPlot : public CDisplayObject {
public:
    // Shows spectrum under title; item is what a click on the plot selects (a record or a hit, 0:
    // nothing). An empty spectrum makes the object empty.
    void Show(const CMassSpectrum& spectrum, const std::string& title, int item);

    bool IsZoomable() const override { return true; }
    bool IsSelectable() const override { return item_ != 0; }
    std::string OptionsPrompt() const override;
    // "mass Intensity of Mass Spectrum:" and one line per peak: "%6d %7.3f" for a vector spectrum,
    // "%10.3f %7.3f" for a peak list.
    std::string CopyText() const override;
    std::optional<int> ItemAt(PagePoint p) const override;
    PageRect PlotArea() const override;

    // The scales of both axes of the current window (the window already lies on them).
    AxisScale MassScale() const;
    AxisScale IntensityScale() const;

protected:
    void DrawContent(CPainter& painter) const override;
    AxisRange DataRange() const override;
    AxisRange Rounded(AxisRange window) const override;

private:
    template <class Visit>
    void ForEachPeak(Visit visit) const;
    void DrawAxes(CPainter& painter, const PageRect& plot, const AxisScale& mass, const AxisScale& intensity) const;
    void DrawSticks(CPainter& painter) const;
    void DrawPeakLabels(CPainter& painter) const;
    bool RealMasses() const;
    CMassSpectrum spectrum_;
    int item_ = 0;
};

}  // namespace kiv
