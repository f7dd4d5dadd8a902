#pragma once
// The similarity-search evaluations of the batch program.
#include "batch/BatchRun.h"

namespace kiv {

// Cosine search of every test object against the library.
void RunVectorSimilarityEvaluation(CBatchRun& run);
// Search under a similarity criterion, the query placed first in its own hitlist.
void RunCriterionEvaluation(CBatchRun& run);
// Repeated cosine searches on random subsets of precomputed features.
void RunFeatureSubsetEvaluation(CBatchRun& run);
// Similarity and Tanimoto of random pairs of records.
void RunRandomPairsEvaluation(CBatchRun& run);

}  // namespace kiv
