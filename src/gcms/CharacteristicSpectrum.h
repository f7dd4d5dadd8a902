#pragma once
// A characteristic spectrum: the spectrum of a scan at the apex of a chromatographic peak,
// together with the peak's shape, so that the compound can later be subtracted from a run over
// the whole width of its peak. The shape travels as three supplementary items of the record:
//
//   "shape"        K x (2w + 2), one row per contributing mass: the mass, then its scaled shape
//                  (apex 100) at the scan offsets -w..+w, 0 where it was cut.
//   "profile"      5 x (2w + 1): the peak-shape statistics over those masses (mean, count,
//                  minimum, maximum, standard deviation per offset).
//   "profiledata"  4 x K, the peak table: row 1 mass, row 2 intensity at the apex (percent of
//                  the scan's base peak), rows 3 and 4 the offsets to the left and to the right
//                  over which the mass's own shape stayed uncut.
//
// w is the larger of "PeakDetectionWidth" and "SubtractionPeakWidth". The contributing masses are
// those with at least 2 % at the apex that do not rise towards either neighbour scan.
#include <string>

#include "library/Bib.h"
#include "library/BibRecord.h"

namespace kiv {

// The three items for the peak at the apex scan; no items when no mass contributes.
CSupData AnalyseScan(const CRunData& run, const CParameters& parameters, int apex);

// "" when the items are a characteristic spectrum's, else the first mismatch:
// "sup[0] != shape", "sup[1] != profile", "sup[2] != profiledata".
std::string CheckCharacteristicItems(const CSupData& sup);

// The share (percent of the apex) of peak k of the peak table at scan offset o: the mass's own
// shape within its uncut offsets, the mean profile beyond them, 0 outside the profile.
double ProfileValue(const CSupData& sup, int k, int offset);

// A record for the reference library: the scan's relative spectrum (vector form) with its
// base-peak intensity, TIC and retention index, named after the run and the scan, carrying items.
CBibRecord CharacteristicRecord(const CBib& run, int scan, const CSupData& items);

}  // namespace kiv
