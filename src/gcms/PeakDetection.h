#pragma once
// Peak detection over a GC-MS run: a scan is a peak when enough masses reach a chromatographic
// maximum there at the same time (strictly rising for w scans before it, not rising for w scans
// after it, and high enough). These scans are the candidates for characteristic spectra.
#include "library/RunData.h"
#include "matrix/MatrixI.h"
#include "settings/Parameters.h"

namespace kiv {

// The ascending set of peak scans (1 x count; 0 x 0 when there is none). Reports
// "MSM too small!" and returns nothing when the run has no more than 2 * "PeakDetectionWidth"
// scans.
CMatrixI DetectPeaks(const CRunData& run, const CParameters& parameters);

}  // namespace kiv
