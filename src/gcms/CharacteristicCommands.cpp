#include "gcms/CharacteristicCommands.h"

#include "base/Format.h"
#include "base/Reporter.h"
#include "gcms/CharacteristicSpectrum.h"
#include "gcms/Msm.h"
#include "gcms/PeakDetection.h"

namespace kiv {

namespace {

bool MsmReady(const CBib& run)
{
    if (run.run.msmComputed) return true;
    ReportRunTimeError("Calculate MSM");
    return false;
}

bool RunInMemory(const CBib& run)
{
    if (run.inMemory) return true;
    ReportRunTimeError("Open BIB GC/MS!");
    return false;
}

CSupData& ScanItems(CBib& run, int scan)
{
    if (run.memorySup.size() < static_cast<size_t>(scan)) run.memorySup.resize(static_cast<size_t>(scan));
    return run.memorySup[static_cast<size_t>(scan - 1)];
}

// The scan of largest TIC within the width around a scan (the first one on ties).
int TicApex(const CRunData& run, int scan, int width)
{
    int best = scan;
    for (int s = std::max(1, scan - width); s <= std::min(run.tic.Cols(), scan + width); ++s) {
        if (run.tic.Get(1, s) > run.tic.Get(1, best)) best = s;
    }
    return best;
}

// Calls use(scan, items) for every selected scan whose peak has contributing masses; returns
// how many there were.
template <class Use>
int ForEachAnalysedScan(const CBib& run, const CChromatogram& chromatogram, Use use)
{
    int used = 0;
    for (int k = 1; k <= chromatogram.selected.Cols(); ++k) {
        const int scan = chromatogram.selected.Get(1, k);
        if (scan < 1 || scan > ScanCount(run)) continue;
        CSupData items = AnalyseScan(run.run, run.parameters, scan);
        if (items.items.empty()) continue;
        use(scan, std::move(items));
        ++used;
    }
    return used;
}

void ReportSelection(const CChromatogram& chromatogram, const char* kind, CSession& session)
{
    session.Log(Format("Selected %d characteristic MS (%s)", chromatogram.selected.Cols(), kind));
    session.SetStatus(Format("%d cMS", chromatogram.selected.Cols()));
    session.Redraw();
}

}  // namespace

void SelectCharacteristicSpectraCommand(CBib& run, CChromatogram& chromatogram, CSession& session)
{
    if (!MsmReady(run)) return;
    session.SetStatus("Select cMS ...");
    chromatogram.selected = DetectPeaks(run.run, run.parameters);
    ReportSelection(chromatogram, "old", session);
}

void SelectCharacteristicSpectra2Command(CBib& run, CChromatogram& chromatogram, CSession& session)
{
    if (!MsmReady(run)) return;
    session.SetStatus("Select cMS ...");
    const CMatrixI peaks = DetectPeaks(run.run, run.parameters);
    chromatogram.selected.Free();
    for (int k = 1; k <= peaks.Cols(); ++k) {
        chromatogram.selected.InsertSorted(TicApex(run.run, peaks.Get(1, k), run.parameters.peakDetectionWidth));
    }
    ReportSelection(chromatogram, "new", session);
}

void ClearSelectedSpectraCommand(CChromatogram& chromatogram, CSession& session)
{
    chromatogram.selected.Free();
    session.SetStatus("0 cMS");
    session.Redraw();
}

void SelectSpectraForSubtractionCommand(CBib& run, const CChromatogram& chromatogram, CSession& session)
{
    if (!MsmReady(run) || !RunInMemory(run)) return;
    const int marked = ForEachAnalysedScan(run, chromatogram, [&](int scan, CSupData items) {
        ScanItems(run, scan) = std::move(items);
    });
    session.SetStatus(Format("%d spectra for Subtraction", marked));
}

void SelectSubtractionSpectraCommand(CBib& run, CBib& reference, const CChromatogram& chromatogram, CSession& session)
{
    if (!MsmReady(run)) return;
    if (!reference.inMemory) {
        reference.Close();
        reference.Reset();
        reference.inMemory = 1;
        reference.header.title = "Subtraction Spectra";
        reference.header.typ = "GC-MS Sub";
    }
    const int added = ForEachAnalysedScan(run, chromatogram, [&](int scan, const CSupData& items) {
        reference.record = CharacteristicRecord(run, scan, items);
        reference.AppendRecord();
    });
    session.Log(Format("Selected %d Subtraction Spectra, Reference changed", added));
    session.Redraw();
}

void AnalyseCharacteristicSpectrumCommand(CBib& run, CChromatogram& chromatogram, AnalyseAction action,
                                          CSession& session)
{
    if (!MsmReady(run)) return;
    const int scan = chromatogram.currentScan;
    if (scan < 1 || scan > ScanCount(run) || (action != AnalyseAction::Show && !RunInMemory(run))) {
        session.Log("cMS failed");
        return;
    }
    if (action == AnalyseAction::Delete) {
        ScanItems(run, scan) = CSupData{};
        session.Log("cMS analysed (del)");
        return;
    }
    CSupData items = AnalyseScan(run.run, run.parameters, scan);
    const std::string mismatch = CheckCharacteristicItems(items);
    if (!mismatch.empty()) {
        session.Log(mismatch);
        session.Log("cMS failed");
        return;
    }
    const CMatrix& profile = items.items[1].values;
    session.Log(Format("profile %d x %d", profile.Rows(), profile.Cols()));
    if (action == AnalyseAction::Select) {
        ScanItems(run, scan) = std::move(items);
        chromatogram.selected.InsertSorted(scan);
        session.Log("cMS analysed (sel)");
    } else {
        session.Log("cMS analysed");
    }
    session.Redraw();
}

}  // namespace kiv
