#pragma once
// Background subtraction: removing reference compounds (characteristic spectra that carry their
// peak shape, see CharacteristicSpectrum.h) from the scans of an in-memory GC-MS run. At a scan
// the best-fitting reference is chosen and subtracted over the scans around it, each scan by the
// reference's intensity times the peak shape at that scan's offset times the fit.
//
// A scan is selected for subtraction when its record carries supplementary items: "Select
// spectra for Subtraction" stores there the characteristic-spectrum items of the scan's own peak.
#include "base/Session.h"
#include "gcms/Chromatogram.h"
#include "gcms/SpectrumFit.h"
#include "library/Bib.h"
#include "matrix/MatrixI.h"

namespace kiv {

bool SelectedForSubtraction(const CBib& run, int scan);
// The ascending set of the scans selected for subtraction.
CMatrixI SubtractionScans(const CBib& run);

// Subtracts the best-fitting usable reference at the scan; the run data is not recomputed.
// True when something was subtracted. Reports "Open BIB GC/MS!" for a run that is not held in
// memory, "Not selected for Subtraction!" and "sup.ndata" for scans without (enough) items.
bool SubtractAtScan(CBib& run, CBib& reference, int scan, const CFitSettings& settings = CFitSettings{});

// "Subtraction current spectrum": SubtractAtScan at the current scan, then the run data and the
// chromatogram are renewed.
void SubtractCurrentSpectrumCommand(CBib& run, CBib& reference, CChromatogram& chromatogram, CSession& session);

// "Subtraction": every scan selected for subtraction, from the last to the first, then the run
// data and the chromatogram are renewed and the message log reports the change of the largest
// base peak and TIC.
void SubtractionCommand(CBib& run, CBib& reference, CChromatogram& chromatogram, CSession& session);

}  // namespace kiv
