#include "gcms/Subtraction.h"

#include <algorithm>
#include <limits>

#include "base/Format.h"
#include "base/Reporter.h"
#include "gcms/CharacteristicSpectrum.h"
#include "gcms/Msm.h"
#include "gcms/ReferenceLibrary.h"
#include "gcms/RetentionWindow.h"

namespace kiv {

namespace {

constexpr double kTolerance = 1e-12;
constexpr double kLowestScore = -10.0;
// Above this "SubtractionMode" the scans are taken from the MSM instead of from their records.
constexpr int kModeFromMsm = 99;

struct ChosenReference {
    double score = -std::numeric_limits<double>::infinity();
    double fit = 0;
    CSupData items;
};

// Score of the current reference record at the scan: -3, -2, -1 for records without usable
// items, otherwise FitTIC within the reference's retention window (0 outside).
double ScoreReference(const CBib& run, const CBibRecord& reference, int scan, const CFitSettings& settings,
                      double& fit)
{
    fit = 0;
    const std::vector<CSupItem>& items = reference.sup.items;
    if (items.size() < 3) return -3;
    if (items[0].name != "shape") return -2;
    if (items[1].name != "profile") {
        ReportRunTimeError("Name");
        return -2;
    }
    if (items[2].values.IsEmpty()) return -1;
    if (!ScanWindow(run.run, run.parameters, reference.spectrum.retentionIndex).Contains(scan)) return 0;
    const FitMeasures measures = FitProfile(run.run, scan, items[2].values, settings);
    fit = measures.fit;
    return measures.fitTic;
}

ChosenReference ChooseReference(const CBib& run, CBib& reference, int scan, const CFitSettings& settings)
{
    ChosenReference chosen;
    for (int r = 1; r <= reference.header.blockCount; ++r) {
        reference.SelectBlock(r, SpectrumReading::AsStored);
        double fit = 0;
        const double score = ScoreReference(run, reference.record, scan, settings, fit);
        if (score > kLowestScore && score > chosen.score) {
            chosen.score = score;
            chosen.fit = fit;
            chosen.items = reference.record.sup;
        }
    }
    return chosen;
}

// The spectrum of scan c that the subtraction works on, and the Ibase that goes with it.
double PrepareScan(CBib& run, int c, bool fromMsm)
{
    CMassSpectrum& spectrum = run.memorySpectra[static_cast<size_t>(c - 1)];
    if (fromMsm) {
        run.run.msm.GetRow(c, spectrum.vector);
        spectrum.isVector = 1;
        spectrum.lastMass = static_cast<uint16_t>(std::min(spectrum.vector.Cols(), 65535));
        spectrum.basePeakIntensity = static_cast<uint32_t>(std::max(run.run.ibase.Get(1, c), 0.0));
        return run.run.ibase.Get(1, c);
    }
    spectrum.ToVector();
    return spectrum.basePeakIntensity;
}

void SubtractAround(CBib& run, int scan, const ChosenReference& chosen)
{
    const bool fromMsm = run.parameters.subtractionMode > kModeFromMsm;
    const int n = ScanCount(run);
    const int width = std::max(run.parameters.subtractionPeakWidth, 0);
    const double ibaseScan = fromMsm ? run.run.ibase.Get(1, scan)
                                     : run.memorySpectra[static_cast<size_t>(scan - 1)].basePeakIntensity;
    const CMatrix& peaks = chosen.items.items[2].values;
    for (int c = std::max(1, scan - width); c <= std::min(n, scan + width); ++c) {
        const double ibase = PrepareScan(run, c, fromMsm);
        if (ibase <= 0) continue;
        CMatrix& vector = run.memorySpectra[static_cast<size_t>(c - 1)].vector;
        for (int k = 1; k <= peaks.Cols(); ++k) {
            int mass = 0;
            if (!PeakListMass(peaks.Get(1, k), mass) || mass < 1 || mass > vector.Cols()) continue;
            const double amount = peaks.Get(2, k) * ProfileValue(chosen.items, k, c - scan) / 100.0 * chosen.fit / 100.0
                                  * ibaseScan / ibase;
            const double value = vector.Get(1, mass) - amount;
            vector.Set(1, mass, value < kTolerance ? 0.0 : value);
        }
    }
}

void ShowChangedRun(CBib& run, CChromatogram& chromatogram)
{
    ComputeMSM(run, MsmPass::Recalculation);
    ShowRun(run, chromatogram);
}

double Percent(double now, double before) { return before > 0 ? now * 100.0 / before : 0.0; }

}  // namespace

bool SelectedForSubtraction(const CBib& run, int scan)
{
    const size_t index = static_cast<size_t>(scan - 1);
    return scan >= 1 && index < run.memorySup.size() && !run.memorySup[index].items.empty();
}

CMatrixI SubtractionScans(const CBib& run)
{
    CMatrixI scans;
    for (int s = 1; s <= ScanCount(run); ++s) {
        if (SelectedForSubtraction(run, s)) scans.InsertSorted(s);
    }
    return scans;
}

bool SubtractAtScan(CBib& run, CBib& reference, int scan, const CFitSettings& settings)
{
    if (!run.inMemory || scan < 1 || scan > ScanCount(run)) {
        ReportRunTimeError("Open BIB GC/MS!");
        return false;
    }
    if (!SelectedForSubtraction(run, scan)) {
        ReportRunTimeError("Not selected for Subtraction!");
        return false;
    }
    if (run.memorySup[static_cast<size_t>(scan - 1)].items.size() <= 2) {
        ReportRunTimeError("sup.ndata");
        return false;
    }
    if (!CheckReferenceLibrary(reference)) return false;
    EnsureMSM(run);
    const ChosenReference chosen = ChooseReference(run, reference, scan, settings);
    // Only a reference with its peak table and shape can be subtracted.
    if (chosen.score < 0) return false;
    SubtractAround(run, scan, chosen);
    return true;
}

void SubtractCurrentSpectrumCommand(CBib& run, CBib& reference, CChromatogram& chromatogram, CSession& session)
{
    if (!SubtractAtScan(run, reference, chromatogram.currentScan)) return;
    ShowChangedRun(run, chromatogram);
    session.Redraw();
}

void SubtractionCommand(CBib& run, CBib& reference, CChromatogram& chromatogram, CSession& session)
{
    if (!run.inMemory) {
        ReportRunTimeError("Open BIB GC/MS!");
        return;
    }
    session.SetStatus("Select spectra ...");
    EnsureMSM(run);
    const double ibaseBefore = run.run.largestIbase, ticBefore = run.run.largestTic;
    session.SetStatus("Search ...");
    CMatrixI scans = SubtractionScans(run);
    const int count = scans.Cols();
    while (scans.Cols() > 0) {
        session.SetStatus(Format("%d spectra ...", scans.Cols()));
        const int scan = scans.Get(1, scans.Cols());
        chromatogram.currentScan = scan;
        SubtractAtScan(run, reference, scan);
        scans.RemoveValue(scan);
    }
    ShowChangedRun(run, chromatogram);
    session.ClearLog();
    const CRunData& data = run.run;
    session.Log(Format("Selected %d Subtraction Spectra, GCMS changed", count));
    session.Log(Format("Ibase changed %0.0f - %0.0f, %6.2f%%", ibaseBefore, data.largestIbase,
                       Percent(data.largestIbase, ibaseBefore)));
    session.Log(Format("TIC changed %0.0f - %0.0f, %6.2f%%", ticBefore, data.largestTic, Percent(data.largestTic, ticBefore)));
    session.SetStatus(Format("%d spectrasubtracted", count));
    session.Redraw();
}

}  // namespace kiv
