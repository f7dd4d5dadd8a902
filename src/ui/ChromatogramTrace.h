#pragma once
// A chromatogram trace: one or more traces of a GC-MS run over retention time, with the scans the
// user selected marked. A click toggles the nearest scan in the selection.
#include "gcms/Chromatogram.h"
#include "ui/DisplayObject.h"

namespace kiv {

class CChromatogramTrace : public CDisplayObject {
public:
    // Shows the traces of chromatogram (which must outlive the display); nullptr or a run without
    // scans makes the object empty.
    void Show(const CChromatogram* chromatogram);

    bool IsZoomable() const override { return true; }
    bool IsSelectable() const override { return true; }
    std::string OptionsPrompt() const override { return "Enter Display Options:\n0\tdefault"; }
    // "retention time" and the traces, one "%10.3f" column each, one line per scan.
    std::string CopyText() const override;
    // The scan (1-based) whose retention time is nearest to the point's (the first on ties).
    std::optional<int> ItemAt(PagePoint p) const override;
    PageRect PlotArea() const override;

protected:
    void DrawContent(CPainter& painter) const override;
    AxisRange DataRange() const override;

private:
    void DrawTrace(CPainter& painter, int row, const PageRect& plot) const;
    void DrawSelection(CPainter& painter, const PageRect& plot) const;
    const CChromatogram* chromatogram_ = nullptr;
};

}  // namespace kiv
