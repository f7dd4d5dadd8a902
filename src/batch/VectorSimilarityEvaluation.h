#pragma once
// The vector-similarity evaluation: a cosine search of every test object against the library,
// written as hitlist tables and the mean-Tanimoto curve.
#include "batch/BatchRun.h"

namespace kiv {

void RunVectorSimilarityEvaluation(CBatchRun& run);

}  // namespace kiv
