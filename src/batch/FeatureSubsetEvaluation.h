#pragma once
// The random feature-subset evaluation: repeated cosine searches on random subsets of
// precomputed features, one line per run in "_runs.txt".
#include "batch/BatchRun.h"

namespace kiv {

void RunFeatureSubsetEvaluation(CBatchRun& run);

}  // namespace kiv
