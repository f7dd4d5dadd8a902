#pragma once
// What every spectrum importer does with a spectrum before it is stored: start it from the
// format's template, and finish it by taking the absolute intensities of the source (total ion
// current, base-peak intensity and mass) before scaling the peaks to percent of the base peak.
#include "library/BibRecord.h"
#include "library/MassSpectrum.h"

namespace kiv {

// A present, empty peak-list spectrum whose masses are stored with nbyte bytes and ndec
// decimals.
void StartSpectrum(CMassSpectrum& spectrum, int nbyte, int ndec);

// Clears the name part and marks it present, so that the stored block carries a name record.
void StartName(CBibName& name);

// TIC = sum of the intensities, base-peak intensity = the largest one (both rounded), base-peak
// mass = the mass of the first peak holding it; then every intensity in percent of it. A
// spectrum without a positive intensity keeps its zeros: it has no base peak (mass 0) and
// nothing is divided by zero.
void FinishSpectrum(CMassSpectrum& spectrum);

}  // namespace kiv
