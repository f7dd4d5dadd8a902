#pragma once
// The scans of a run in which a reference compound may elute: its retention index turned into a
// time (with the calibration of the parameter set), shifted by "Ret_Deviation" and widened by
// "Ret_Radius" on both sides, then mapped onto the scans through the run's first and last time.
#include "library/RunData.h"
#include "settings/Parameters.h"

namespace kiv {

struct ScanRange {
    int first = 1;
    int last = 0;  // first..last, 1-based; empty when last < first
    bool illegal = false;  // a window was asked for but the times give none: the whole run
    bool Contains(int scan) const { return scan >= first && scan <= last; }
};

// The whole run when "Ret_Use" is 0 or the index lies outside 1..9998.
ScanRange ScanWindow(const CRunData& run, const CParameters& parameters, double retentionIndex);

}  // namespace kiv
