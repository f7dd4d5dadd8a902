#pragma once
// Retention index and retention time of a GC-MS run. The parameter set holds a calibration
// rt = q*ri^2 + k*ri + d (times in minutes); an index of 10000 or more is no index at all but
// encodes a time, rt = (ri - 10000) * 0.001, so that scans without a usable calibration still
// carry their time in the index field.
#include "settings/Parameters.h"

namespace kiv {

double RetentionTimeFromIndex(const CParameters& parameters, double retentionIndex);
// The inverse on the rising branch of the calibration. Where the calibration cannot be inverted
// (no real root, or a flat line) the time is encoded as ri = t * 1000 + 10000.
double RetentionIndexFromTime(const CParameters& parameters, double retentionTime);

}  // namespace kiv
