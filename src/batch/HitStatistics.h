#pragma once
// The hit-statistics evaluation: how structural similarity (mean Tanimoto of the hits) depends on
// spectral similarity, from the "_f.txt" and "_t.txt" tables of an earlier evaluation run.
#include "batch/BatchRun.h"

namespace kiv {

void RunHitStatistics(CBatchRun& run);

}  // namespace kiv
