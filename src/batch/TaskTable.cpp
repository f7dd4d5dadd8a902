#include "batch/TaskTable.h"

#include "batch/CriterionEvaluation.h"
#include "batch/FeatureGeneration.h"
#include "batch/FeatureSubsetEvaluation.h"
#include "batch/HitStatistics.h"
#include "batch/ImportTask.h"
#include "batch/RandomPairsEvaluation.h"
#include "batch/VectorSimilarityEvaluation.h"

namespace kiv {

namespace {

struct TaskEntry {
    TaskKind kind;
    TaskFunction run;
};

const TaskEntry kTasks[] = {
    {TaskKind::Import, RunImportTask},
    {TaskKind::FeatureGeneration, RunFeatureGeneration},
    {TaskKind::VectorSimilarityEvaluation, RunVectorSimilarityEvaluation},
    {TaskKind::CriterionEvaluation, RunCriterionEvaluation},
    {TaskKind::FeatureSubsetEvaluation, RunFeatureSubsetEvaluation},
    {TaskKind::RandomPairsEvaluation, RunRandomPairsEvaluation},
    {TaskKind::HitStatistics, RunHitStatistics},
};

}  // namespace

TaskFunction FindTask(TaskKind kind)
{
    for (const TaskEntry& entry : kTasks) {
        if (entry.kind == kind) return entry.run;
    }
    return nullptr;
}

}  // namespace kiv
