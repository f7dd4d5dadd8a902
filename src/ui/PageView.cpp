#include "ui/PageView.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Reporter.h"
#include "ui/MeasuringPainter.h"
#include "ui/OffsetPainter.h"

namespace kiv {

namespace {

// Reads blocks of a library for display and leaves its current record as it was. use gets the
// block and its record, nullptr for a block the library does not hold.
template <class Use>
void VisitBlocks(CBib& bib, const std::vector<int>& blocks, Use use)
{
    const int current = bib.currentBlock;
    for (int b : blocks) {
        if (b < 1 || b > bib.header.blockCount) {
            use(b, nullptr);
            continue;
        }
        if (bib.currentBlock != b) bib.SelectBlock(b);
        use(b, bib.readError ? nullptr : &bib.record);
    }
    if (bib.currentBlock != current) bib.SelectBlock(current);
}

const char* const kContextEntries[] = {"Zoom In",  "Zoom Out",      "Zoom Reset",     "Export WMF", "Save Matrix",
                                       "Copy Text", "Zoom Set Axis", "Select [space]", "Options",    "Clear"};

bool IsZoomEntry(const std::string& e)
{
    return e == "Zoom In" || e == "Zoom Out" || e == "Zoom Reset" || e == "Zoom Set Axis";
}

bool IsSelectionEntry(const std::string& e) { return e == "Select [space]" || e == "Clear"; }

// Peaks of a spectrum, whichever way it is stored (a vector holds a column for every mass).
int PeakCount(const CMassSpectrum& spectrum)
{
    if (spectrum.empty) return 0;
    const CMatrix& values = spectrum.isVector ? spectrum.vector : spectrum.peaks;
    const int row = spectrum.isVector ? 1 : 2;
    int count = 0;
    for (int k = 1; k <= values.Cols() && values.Rows() >= row; ++k) count += values.Get(row, k) > 0 ? 1 : 0;
    return count;
}

}  // namespace

CPageView::CPageView(CKivDoc& doc) : doc_(doc)
{
    settings_.zoom = doc.zoom;
    Rebuild();
}

void CPageView::Rebuild()
{
    CMeasuringPainter measure;
    Rebuild(measure);
}

void CPageView::Rebuild(CPainter& measure)
{
    UseFont(measure, FontRole::Label, settings_.zoom);
    lineHeight_ = std::max(1, measure.TextHeight());
    ApplyLayout(LayOutPage(settings_, lineHeight_));
    Refresh();
}

DrawStyle CPageView::Style() const { return {settings_.zoom, settings_.fontSize, DiagramPenWidth(settings_)}; }

void CPageView::ApplyLayout(const PageLayout& layout)
{
    text_.Place(layout.text);
    chromatogram_.Place(layout.chromatogram);
    for (int k = 0; k < kSpectrumSlots; ++k) spectra_[k].Place(layout.spectra[k]);
    for (int k = 0; k < kStructureSlots; ++k) structures_[k].Place(layout.structures[k]);
    for (int k = 0; k < kScatterSlots; ++k) scatter_[k].Place(layout.scatter[k]);
    secondChromatogram_.Place(layout.secondChromatogram);
    for (CDisplayObject* object : Objects()) object->SetStyle(Style());
}

void CPageView::EmptyAll()
{
    for (CDisplayObject* object : Objects()) object->SetEmpty(true);
}

std::vector<CDisplayObject*> CPageView::Objects()
{
    std::vector<CDisplayObject*> all{&text_, &chromatogram_};
    for (auto& o : spectra_) all.push_back(&o);
    for (auto& o : structures_) all.push_back(&o);
    for (auto& o : scatter_) all.push_back(&o);
    all.push_back(&secondChromatogram_);
    return all;
}

std::vector<const CDisplayObject*> CPageView::Objects() const
{
    std::vector<const CDisplayObject*> all;
    for (CDisplayObject* object : const_cast<CPageView*>(this)->Objects()) all.push_back(object);
    return all;
}

CDisplayObject* CPageView::ObjectAt(PagePoint p)
{
    for (CDisplayObject* object : Objects()) {
        if (object->Placement().Contains(p)) return object;
    }
    return nullptr;
}

const CDisplayObject* CPageView::ObjectAt(PagePoint p) const { return const_cast<CPageView*>(this)->ObjectAt(p); }

PageRect CPageView::PageArea() const
{
    const PageGeometry g = Geometry();
    return {0, 0, g.width, g.height};
}

void CPageView::Draw(CPainter& painter, const PageRect& area) const
{
    for (const CDisplayObject* object : Objects()) object->Draw(painter, area);
}

void CPageView::DrawObjectForExport(const CDisplayObject& object, CPainter& painter) const
{
    const PageRect r = object.Placement();
    COffsetPainter moved(painter, {r.left, r.top});
    object.Draw(moved, r);
}

// ---- Filling ----

void CPageView::Refresh()
{
    EmptyAll();
    FillText();
    FillChromatograms();
    FillLibraryPage();
    for (CScatterPlot& plot : scatter_) plot.SetEmpty(plot.Placement().IsEmpty() || plot.Data().objects.Size() == 0);
}

void CPageView::FillText()
{
    if (text_.Placement().IsEmpty()) return;
    if (PageSetupFromCode(settings_.setup) == PageSetup::Text && settings_.matrixOnly) {
        text_.SetEmpty(!text_.ShowListing());
        return;
    }
    std::vector<std::string> lines;
    if (!spectra_[0].Placement().IsEmpty() || !structures_[0].Placement().IsEmpty()) lines = RecordText();
    const size_t recordLines = lines.size();
    lines.insert(lines.end(), lines_.begin(), lines_.end());
    text_.SetEmpty(lines.empty());
    text_.SetLines(std::move(lines), recordLines);
}

std::vector<std::string> CPageView::RecordText() const
{
    const CBib& bib = doc_.bib;
    if (bib.currentBlock < 1) return {};
    const CBibRecord& r = bib.record;
    std::vector<std::string> lines{
        Format("Name: %s", r.name.name.c_str()),
        Format("CAS: %s", r.name.cas > 0 ? CasText(r.name.cas).c_str() : ""),
        Format("Formula: %s", r.name.formula.c_str()),
        Format("MW: %0.2f", r.name.mw),
        Format("Block: %d/%d", bib.currentBlock, bib.header.blockCount),
        Format("Peaks: %d", PeakCount(r.spectrum)),
    };
    if (r.spectrum.retentionTime > 0) lines.push_back(Format("Ret. Time: %0.2f", r.spectrum.retentionTime));
    if (settings_.options == 2) {
        const Hitlist& h = doc_.hitlist;
        const int u = h.ChosenUnknown();
        lines.push_back(Format("Unknown %d of %d", u, h.similarities.Rows()));
        for (int k = 1; k <= h.referenceNumbers.Cols(); ++k) {
            if (h.referenceNumbers.Get(u, k) == 0) continue;
            lines.push_back(Format("Hit %d: record %d similarity %0.3f", k, h.referenceNumbers.Get(u, k),
                                   h.similarities.Get(u, k)));
        }
    }
    return lines;
}

void CPageView::FillChromatograms()
{
    const CChromatogram* run = doc_.chromatogram.xAxis.Cols() > 0 ? &doc_.chromatogram : nullptr;
    for (CChromatogramTrace* trace : {&chromatogram_, &secondChromatogram_}) {
        trace->Show(trace->Placement().IsEmpty() ? nullptr : run);
    }
}

void CPageView::FillLibraryPage()
{
    int spectrumSlots = 0, structureSlots = 0;
    for (const auto& s : spectra_) spectrumSlots += s.Placement().IsEmpty() ? 0 : 1;
    for (const auto& s : structures_) structureSlots += s.Placement().IsEmpty() ? 0 : 1;
    if (spectrumSlots == 0 && structureSlots == 0) return;
    if (settings_.options == 2) {
        FillHits(spectrumSlots, structureSlots);
        return;
    }
    // The current record first, then the records that follow it.
    std::vector<int> blocks;
    const int first = doc_.bib.currentBlock;
    if (first < 1) return;
    for (int k = 0; k < std::max(spectrumSlots, structureSlots); ++k) blocks.push_back(first + k);
    int slot = 0;
    VisitBlocks(doc_.bib, blocks, [&](int block, const CBibRecord* record) {
        if (record) FillRecord(slot, *record, block);
        ++slot;
    });
}

void CPageView::FillRecord(int slot, const CBibRecord& record, int item)
{
    if (slot < kSpectrumSlots && !spectra_[slot].Placement().IsEmpty()) {
        spectra_[slot].Show(record.spectrum, record.name.name, item);
    }
    if (slot < kStructureSlots && !structures_[slot].Placement().IsEmpty()) {
        structures_[slot].Show(record.molecule, record.name.name, item);
    }
}

void CPageView::FillHits(int spectrumSlots, int structureSlots)
{
    const Hitlist& h = doc_.hitlist;
    const int u = h.ChosenUnknown();
    if (h.referenceNumbers.Rows() < u) return;
    // The unknown in the first place, its hits after it; a click on a hit makes it the current hit.
    VisitBlocks(doc_.bib, {h.unknownNumbers.Get(u, 1)}, [&](int block, const CBibRecord* record) {
        if (record) FillRecord(0, *record, block);
    });
    std::vector<int> hits;
    for (int k = 1; k <= h.referenceNumbers.Cols() && k < std::max(spectrumSlots, structureSlots); ++k) {
        hits.push_back(h.referenceNumbers.Get(u, k));
    }
    int rank = 1;
    VisitBlocks(doc_.reference.bib, hits, [&](int, const CBibRecord* record) {
        if (record) FillRecord(rank, *record, -rank);
        ++rank;
    });
}

// ---- Text, listings and plots ----

void CPageView::AddTextLine(const std::string& line)
{
    lines_.push_back(line);
    // One line more on the text block, without copying the whole log again.
    if (text_.Placement().IsEmpty() || text_.IsListing()) return;
    text_.AppendLine(line);
    text_.SetEmpty(false);
}

void CPageView::ClearText()
{
    lines_.clear();
    FillText();
}

void CPageView::ShowMatrix(const CMatrix& matrix, const std::string& title)
{
    text_.SetMatrix(matrix, title);
    settings_.setup = 0;
    settings_.matrixOnly = true;
    Rebuild();
}

bool CPageView::ShowScatterPlot(int plot, const std::string& source, int xColumn, int yColumn)
{
    const std::optional<ScatterSource> kind = ScatterSourceFromName(source);
    ScatterData data;
    MessageLog problems;
    if (!kind || !BuildScatterData(doc_, *kind, xColumn, yColumn, data, problems)) return false;
    for (const std::string& line : problems) AddTextLine(line);
    CScatterPlot& target = Scatter(plot);
    target.Show(std::move(data));
    target.SetEmpty(target.Placement().IsEmpty() || target.IsEmpty());
    return true;
}

void CPageView::ShowScatter(int plot, const std::string& source, int xColumn, int yColumn)
{
    ShowScatterPlot(plot, source, xColumn, yColumn);
}

// ---- Mouse and context menu ----

void CPageView::ZoomObjectsTo(const PageRect& rect)
{
    const PageRect band = rect.Normalized();
    for (CDisplayObject* object : Objects()) {
        if (!object->IsEmpty() && object->Placement().Intersects(band)) object->ZoomTo(band);
    }
}

void CPageView::Click(PagePoint p, CSession& session)
{
    CDisplayObject* object = ObjectAt(p);
    if (!object || object->IsEmpty()) return;
    const std::optional<int> item = object->ItemAt(p);
    if (!item) return;
    if (object == &chromatogram_ || object == &secondChromatogram_) {
        doc_.chromatogram.selected.ToggleValue(*item);
        session.Redraw();
        return;
    }
    int target = *item;
    for (const CScatterPlot& plot : scatter_) {
        if (object == &plot) target = ItemOfScatterBlock(plot.BlockOf(*item));
    }
    SelectRecordOrHit(target, session);
}

int CPageView::ItemOfScatterBlock(int block) const
{
    if (block >= 0) return block;
    // A hit stands in the data set as -(its record of the reference library): its rank.
    const Hitlist& h = doc_.hitlist;
    const int u = h.ChosenUnknown();
    for (int k = 1; k <= h.referenceNumbers.Cols(); ++k) {
        if (h.referenceNumbers.Get(u, k) == -block) return -k;
    }
    return 0;
}

void CPageView::SelectRecordOrHit(int item, CSession& session)
{
    if (item > 0) {
        SelectWorkingRecord(doc_, item, session);
    } else if (item < 0) {
        doc_.hitlist.currentHit = -item;
        session.Redraw();
    } else {
        return;
    }
    Refresh();
}

std::vector<std::string> CPageView::ContextMenuEntries(PagePoint p) const
{
    bool anyShown = false, zoomable = false, selectable = false;
    for (const CDisplayObject* object : Objects()) {
        if (object->Placement().IsEmpty() || object->IsEmpty()) continue;
        anyShown = true;
        zoomable = zoomable || object->IsZoomable();
        selectable = selectable || object->IsSelectable();
    }
    const CDisplayObject* under = ObjectAt(p);
    std::vector<std::string> entries;
    if (anyShown) {
        for (const char* entry : kContextEntries) {
            const std::string e = entry;
            if (IsZoomEntry(e) && !zoomable) continue;
            if (IsSelectionEntry(e) && !selectable) continue;
            if (!IsZoomEntry(e) && !IsSelectionEntry(e) && !under) continue;
            entries.push_back(e);
        }
    }
    if (entries.empty()) entries.push_back("Empty");
    return entries;
}

void CPageView::RunContextEntry(const std::string& entry, PagePoint p, CPrompter& prompter, CSession& session)
{
    if (entry == "Clear") {
        doc_.chromatogram.ClearPlot();
        doc_.chromatogram.selected.Free();
        Refresh();
        session.Redraw();
        return;
    }
    if (entry == "Select [space]") {
        Click(p, session);
        return;
    }
    CDisplayObject* object = ObjectAt(p);
    if (!object) return;
    if (entry == "Zoom In") object->ZoomIn(p);
    if (entry == "Zoom Out") object->ZoomOut();
    if (entry == "Zoom Reset") object->ZoomReset();
    if (entry == "Zoom Set Axis" && object->IsZoomable()) object->SetZoomWindow(AskAxisRange(prompter, object->ZoomWindow()));
    if (entry == "Options") object->SetOptions(AskInteger(prompter, object->OptionsPrompt(), object->Options()));
    if (entry == "Copy Text") session.CopyText(object->CopyText());
    if (entry == "Save Matrix") {
        const std::optional<std::string> path =
            prompter.ChooseFileToSave({"Save Matrix", "*.txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", true});
        if (path && !object->SaveMatrix(*path)) ReportRunTimeError(Format("File %s cannot be written", path->c_str()));
    }
    session.Redraw();
}

// ---- Keyboard ----

void CPageView::StepRecord(int delta, CSession& session)
{
    const int count = doc_.bib.header.blockCount;
    if (count < 1) return;
    SelectRecordOrHit(std::clamp(doc_.bib.currentBlock + delta, 1, count), session);
}

void CPageView::FirstRecord(CSession& session)
{
    if (doc_.bib.header.blockCount > 0) SelectRecordOrHit(1, session);
}

void CPageView::LastRecord(CSession& session)
{
    if (doc_.bib.header.blockCount > 0) SelectRecordOrHit(doc_.bib.header.blockCount, session);
}

}  // namespace kiv
