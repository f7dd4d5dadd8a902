#pragma once
// CPageView: the model of the desktop's view, without any toolkit. It holds the page settings,
// the display objects of a page (one text block, one chromatogram trace, six mass-spectrum
// plots, twenty-four structure drawings, two scatter plots and a second chromatogram trace, in
// this order) and the page's text lines; it lays them out for the page setup, fills them from
// the document, and turns clicks, rubber bands and context-menu entries into actions.
//
// The desktop view owns one and draws it through its painter; without a desktop a view can be
// made for a document just as well (the view commands of scripts run on one).
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/ScorePlots.h"
#include "ui/ChromatogramTrace.h"
#include "ui/KivDoc.h"
#include "ui/MassSpectrumPlot.h"
#include "ui/PageLayout.h"
#include "ui/ScatterPlot.h"
#include "ui/ScatterSource.h"
#include "ui/StructureDrawing.h"
#include "ui/TextBlock.h"

namespace kiv {

class CPageView : public CScorePlots {
public:
    explicit CPageView(CKivDoc& doc);
    CPageView(const CPageView&) = delete;
    CPageView& operator=(const CPageView&) = delete;

    PageSettings& Settings() { return settings_; }
    const PageSettings& Settings() const { return settings_; }

    // Lays out the current setup (the line height L is a label line measured on measure), then
    // refills every object. The overload without painter measures text as 0.6 x font height.
    void Rebuild(CPainter& measure);
    void Rebuild();
    // Refills the objects from the document (after a command or a record change).
    void Refresh();

    PageGeometry Geometry() const { return {settings_.format, settings_.zoom}; }
    // 0,0 .. width x height of the page format times zoom: the scrollable area.
    PageRect PageArea() const;
    // Every object that meets area.
    void Draw(CPainter& painter, const PageRect& area) const;
    // The object drawn with its rectangle moved to the origin: frame, "Empty" or content.
    void DrawObjectForExport(const CDisplayObject& object, CPainter& painter) const;

    std::vector<CDisplayObject*> Objects();
    std::vector<const CDisplayObject*> Objects() const;
    // The placed object under p, nullptr when there is none.
    CDisplayObject* ObjectAt(PagePoint p);
    const CDisplayObject* ObjectAt(PagePoint p) const;
    CTextBlock& Text() { return text_; }
    CChromatogramTrace& Chromatogram(int k) { return k == 2 ? secondChromatogram_ : chromatogram_; }  // 1 or 2
    // Numbers outside the slots give the nearest slot.
    CMassSpectrumPlot& Spectrum(int k) { return spectra_[std::clamp(k, 1, kSpectrumSlots) - 1]; }  // 1..6
    CStructureDrawing& Structure(int k) { return structures_[std::clamp(k, 1, kStructureSlots) - 1]; }  // 1..24
    CScatterPlot& Scatter(int k) { return scatter_[k == 2 ? 1 : 0]; }  // 1 or 2

    // The page's text lines: the session's message log.
    void AddTextLine(const std::string& line);
    void ClearText();
    const std::vector<std::string>& TextLines() const { return lines_; }

    // The "Show" commands: matrix listed alone on page 0 (matrix-only) under title.
    void ShowMatrix(const CMatrix& matrix, const std::string& title);

    // Fills scatter plot 1 or 2 from the named source. False ("No Data!") when the source has no
    // rows, a column is below 1 or the name is unknown.
    bool ShowScatterPlot(int plot, const std::string& source, int xColumn, int yColumn);
    void ShowScatter(int plot, const std::string& source, int xColumn, int yColumn) override;

    // Mouse. A rubber band (the desktop decides from |dx| + |dy| > 4 device units) zooms every
    // object it touches; a click selects the item under the point: a library record becomes the
    // current record, a hit the current hit, a chromatogram scan is toggled in the selection.
    void ZoomObjectsTo(const PageRect& rect);
    void Click(PagePoint p, CSession& session);

    // The context menu at p: "Zoom In", "Zoom Out", "Zoom Reset", "Export WMF", "Save Matrix",
    // "Copy Text", "Zoom Set Axis", "Select [space]", "Options", "Clear", without the entries that
    // do not apply; {"Empty"} when nothing applies.
    std::vector<std::string> ContextMenuEntries(PagePoint p) const;
    // Runs an entry on the object under p ("Export WMF" is the desktop's: DrawObjectForExport).
    void RunContextEntry(const std::string& entry, PagePoint p, CPrompter& prompter, CSession& session);

    // Keyboard: next, previous, first, last record and ten records down or up.
    void NextRecord(CSession& session) { StepRecord(1, session); }
    void PreviousRecord(CSession& session) { StepRecord(-1, session); }
    void RecordPageDown(CSession& session) { StepRecord(10, session); }
    void RecordPageUp(CSession& session) { StepRecord(-10, session); }
    void FirstRecord(CSession& session);
    void LastRecord(CSession& session);

private:
    void ApplyLayout(const PageLayout& layout);
    void EmptyAll();
    DrawStyle Style() const;
    void FillText();
    void FillLibraryPage();
    void FillRecord(int slot, const CBibRecord& record, int item);
    void FillHits(int spectrumSlots, int structureSlots);
    void FillChromatograms();
    void FillScatterPlots();
    void StepRecord(int delta, CSession& session);
    // item > 0: that record of the working library; item < 0: hit -item of the current unknown.
    void SelectRecordOrHit(int item, CSession& session);
    int ItemOfScatterBlock(int block) const;
    std::vector<std::string> RecordText() const;

    CKivDoc& doc_;
    PageSettings settings_;
    int lineHeight_ = 360;
    std::vector<std::string> lines_;

    CTextBlock text_;
    CChromatogramTrace chromatogram_;
    CMassSpectrumPlot spectra_[kSpectrumSlots];
    CStructureDrawing structures_[kStructureSlots];
    CScatterPlot scatter_[kScatterSlots];
    CChromatogramTrace secondChromatogram_;
};

}  // namespace kiv
