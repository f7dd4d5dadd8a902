#include "batch/CriterionEvaluation.h"

#include "batch/Evaluation.h"
#include "search/CriterionHitlists.h"
#include "search/EvaluationFiles.h"
#include "search/LibraryScan.h"
#include "search/Similarity.h"

namespace kiv {

void RunCriterionEvaluation(CBatchRun& run)
{
    const SimilarityCriterion criterion = EvaluationCriterionFromCode(run.settings.simCriterion);
    CEvaluation evaluation(run, {.siscom = NeedsSiscomPreparation(criterion)});
    const int length = evaluation.vectors.Length();
    CCriterionHitlists hits(evaluation.BuildTestVectors(), evaluation.width, criterion, SelectColumns(run.parameters.simFeatSel, length),
                            kEmptySlot);
    ScanLibraryInBlocks(
        evaluation.LibrarySize(), length, [&](int32_t q) { return evaluation.ProgressAtRecord(q); },
        [&](int32_t q, double* out) { evaluation.vectors.Build(q, false, out); },
        [&](const double* block, int rows, int32_t first) { hits.Compare(block, rows, first); });
    evaluation.CloseLibrary();

    CEvaluationTables tables = CEvaluationTables::FromHitlists(hits);
    for (int l = 1; l <= evaluation.TestCount(); ++l) {
        const int32_t query = evaluation.testIndex[static_cast<size_t>(l - 1)];
        if (run.settings.delIdentHit1 == 1) tables.RemoveQuery(l, query);
        tables.PlaceQueryFirst(l, query);
    }
    tables.FillTanimotos(evaluation.testIndex, evaluation.descriptors, 2);
    WriteResultFiles(ResultStem(run.settings), tables, "%10.4f");
}

}  // namespace kiv
