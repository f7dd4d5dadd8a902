#include "batch/TaskSelection.h"

namespace kiv {

// The rules are applied in order, each later one overriding an earlier choice.
TaskKind ChooseTask(const CRunSettings& settings)
{
    const bool result = !settings.resultFile.empty();
    const bool features = !settings.featureFile.empty();
    const bool descriptors = !settings.descriptorFile.empty();
    const bool library = !settings.bibFile.empty();
    const bool testIndex = !settings.testIndexFile.empty();
    const bool import = settings.importKind != ImportKind::None;

    TaskKind task = TaskKind::None;
    if (result && features && !descriptors && (import || library)) task = TaskKind::FeatureGeneration;
    if (library && descriptors && result) {
        if (testIndex) {
            if (settings.selectFeatures != 0) {
                task = TaskKind::FeatureSubsetEvaluation;
            } else if (settings.simCriterion != 0) {
                task = TaskKind::CriterionEvaluation;
            } else {
                task = TaskKind::VectorSimilarityEvaluation;
            }
        } else {
            task = settings.randomPairs != 0 ? TaskKind::RandomPairsEvaluation : TaskKind::None;
        }
    }
    if (import && !features && library) task = TaskKind::Import;
    if (result && !library) task = TaskKind::HitStatistics;
    return task;
}

}  // namespace kiv
