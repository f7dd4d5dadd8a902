#pragma once
// Baseline correction of a GC-MS run. The background of each mass (column bleed, air, solvent)
// is estimated as a lower envelope of the mass's ion chromatogram: scans that lie on or above the
// line through their neighbours are thinned out pass by pass, and the polygon through the
// remaining support scans is the baseline, which is then subtracted from the scans' spectra.
#include <string>
#include <vector>

#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv {

// y_m(i) = MSM(i, m) * Ibase(i) / largest Ibase: the ion chromatogram of mass m relative to the
// run's largest base peak (all 0 when the run has no intensity).
std::vector<double> IonChromatogram(const CRunData& run, int mass);

// The support scans (0-based positions, ascending) that remain of 0..n-1 after thinning passes
// until a pass removes nothing. The first and the last scan always stay.
std::vector<int> BaselineSupport(const std::vector<double>& y, int baselineWidth);

// The polygon through the support scans, evaluated at every scan.
std::vector<double> BaselinePolygon(const std::vector<double>& y, const std::vector<int>& support);

// mass 0: corrects every mass 1..M of an in-memory run, with progress per mass (a cancel keeps
// the masses done), and recomputes the run data when records changed; a library read from its
// file is not changed. mass > 0: only computes that mass's baseline. Returns the baseline (1 x N)
// of the last mass processed, 0 for a mass seen in too few scans. status receives
// "Baseline correction for %d/%d Masses done." or "No Data in BIB was changed.".
CMatrix CorrectBaseline(CBib& bib, int mass, std::string& status);

}  // namespace kiv
