#pragma once
// Retention-index calibration of a GC-MS run: the user marks scans of known compounds, enters
// their retention indices, fits retention time as a polynomial of the index and finally gives
// every scan a retention index. The calibration points ("Ret_Points", row 1 index, row 2 time)
// and the function choice ("Ret_Calc") belong to the library's parameter set; the conversions use
// "RetX_q", "RetX_k" and "RetX_d", which the fit only reports.
#include "base/Prompt.h"
#include "base/Session.h"
#include "gcms/Chromatogram.h"
#include "library/Bib.h"

namespace kiv {

// "Use selected spectra": one calibration point per selected scan, holding its retention time
// (existing retention indices are kept where points overlap). Status "Retention Times stored.".
void UseSelectedSpectraCommand(CBib& bib, const CChromatogram& chromatogram, CSession& session);
// "Enter Retention Indices": asks the retention index of every calibration point.
void EnterRetentionIndicesCommand(CBib& bib, CPrompter& prompter);
// "Calibration": fits the function of "Ret_Calc" (1 constant, 2 linear, 4 cubic, else quadratic)
// to the points, each with standard deviation 10, and writes the coefficients and the fitted
// times to the message log.
void CalibrationCommand(CBib& bib, CSession& session);
// "Calculate Retention Index": every scan with a retention time gets its index; the records of
// an in-memory run then carry the index instead of the time.
void CalculateRetentionIndexCommand(CBib& bib, CSession& session);

}  // namespace kiv
