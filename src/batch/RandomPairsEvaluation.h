#pragma once
// The random-pairs evaluation: similarity and Tanimoto of random pairs of library records,
// their mean as the one value of the curve.
#include "batch/BatchRun.h"

namespace kiv {

void RunRandomPairsEvaluation(CBatchRun& run);

}  // namespace kiv
