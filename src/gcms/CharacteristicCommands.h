#pragma once
// The characteristic-spectra commands of the chromatogram: choosing the scans (by peak
// detection or by hand), marking them for subtraction, turning them into reference spectra, and
// analysing the peak at the current scan. All of them need the MSM ("Calculate MSM" otherwise).
#include "base/Session.h"
#include "gcms/Chromatogram.h"
#include "library/Bib.h"

namespace kiv {

// "Select characteristic Spectra": the scans of DetectPeaks become the selection.
void SelectCharacteristicSpectraCommand(CBib& run, CChromatogram& chromatogram, CSession& session);
// "Select characteristic Spectra 2": each detected peak moved to the scan of largest TIC within
// "PeakDetectionWidth" of it (peaks that meet there count once).
void SelectCharacteristicSpectra2Command(CBib& run, CChromatogram& chromatogram, CSession& session);
// "Clear selected Spectra".
void ClearSelectedSpectraCommand(CChromatogram& chromatogram, CSession& session);
// "Select spectra for Subtraction": every selected scan of an in-memory run gets the items of its
// own peak and so becomes selected for subtraction.
void SelectSpectraForSubtractionCommand(CBib& run, const CChromatogram& chromatogram, CSession& session);
// "Select Subtraction Spectra": the selected scans with the items of their peaks become records
// of the reference library (appended when it is held in memory, otherwise it becomes a new
// in-memory library "Subtraction Spectra").
void SelectSubtractionSpectraCommand(CBib& run, CBib& reference, const CChromatogram& chromatogram, CSession& session);

// The three "Analyse characteristic Spectrum" commands at the current scan.
enum class AnalyseAction {
    Show,  // logs the peak's profile size; stores nothing
    Delete,  // removes the scan's items: no longer selected for subtraction
    Select,  // stores the items: selected for subtraction, and adds the scan to the selection
};
void AnalyseCharacteristicSpectrumCommand(CBib& run, CChromatogram& chromatogram, AnalyseAction action,
                                          CSession& session);

}  // namespace kiv
