#pragma once
// Which batch task a command file asks for, decided only by which keys it gives.
#include "batch/CommandFile.h"

namespace kiv {

enum class TaskKind {
    None,
    FeatureGeneration,
    FeatureSubsetEvaluation,
    CriterionEvaluation,
    VectorSimilarityEvaluation,
    RandomPairsEvaluation,
    Import,
    HitStatistics,
};

TaskKind ChooseTask(const CRunSettings& settings);

}  // namespace kiv
