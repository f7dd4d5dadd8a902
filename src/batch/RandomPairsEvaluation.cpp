#include "batch/RandomPairsEvaluation.h"

#include <vector>

#include "batch/Evaluation.h"
#include "search/EvaluationFiles.h"
#include "search/Similarity.h"

namespace kiv {

void RunRandomPairsEvaluation(CBatchRun& run)
{
    const CRunSettings& settings = run.settings;
    const SimilarityCriterion criterion = EvaluationCriterionFromCode(settings.simCriterion);
    CEvaluation evaluation(run, {.siscom = NeedsSiscomPreparation(criterion), .testIndex = false});
    const int pairs = std::max(settings.randomPairs, 0);
    CMatrixI draw;
    draw.RandomSubset(2 * pairs, evaluation.LibrarySize(), settings.randomSeed);

    const int length = evaluation.vectors.Length();
    const std::vector<int32_t> columns = SelectColumns(run.parameters.simFeatSel, length);
    std::vector<double> first(static_cast<size_t>(length)), second(static_cast<size_t>(length));
    CEvaluationTables tables;
    tables.AllocatePairs(pairs);
    for (int i = 1; i <= pairs; ++i) {
        if (i % 100 == 0 && !evaluation.Progress(static_cast<int>(100LL * i / pairs))) break;
        const int32_t a = draw.GetFlat(2 * i - 1), b = draw.GetFlat(2 * i);
        evaluation.vectors.Build(a, true, first.data());
        evaluation.vectors.Build(b, false, second.data());
        tables.records.Set(i, 1, a);
        tables.records.Set(i, 2, b);
        tables.similarities.Set(i, 1, Similarity(criterion, first.data(), second.data(), columns));
    }
    evaluation.CloseLibrary();
    tables.FillPairTanimotos(evaluation.descriptors);
    WritePairResultFiles(ResultStem(settings), tables);
}

}  // namespace kiv
