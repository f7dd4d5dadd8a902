#pragma once
// Target search: how much of one reference spectrum every scan of a run contains (FitTIC per
// scan), within the reference's retention window.
#include "base/Prompt.h"
#include "base/Session.h"
#include "gcms/Chromatogram.h"
#include "gcms/SpectrumFit.h"
#include "library/Bib.h"

namespace kiv {

// Value of the scans outside the retention window.
constexpr double kOutsideWindow = -5.0;

// 1 x N: FitTIC of the reference (its spectrum in vector form) at every scan of its window,
// -5.0 elsewhere. Reports "Illegal retention time range!" when a window was asked for and the
// run's times give none; the whole run is then used.
CMatrix TargetChromatogram(const CBib& run, const CBibRecord& reference, const CFitSettings& settings = CFitSettings{});

// "Target Search": asks "Enter # of Referece Spectrum:" and adds the target chromatogram of that
// reference ("Target Chromatogram for #%d"); the page text gets its origin and name.
void TargetSearchCommand(CBib& run, CBib& reference, CChromatogram& chromatogram, CPrompter& prompter,
                         CSession& session);

}  // namespace kiv
