#include "batch/VectorSimilarityEvaluation.h"

#include "batch/Evaluation.h"
#include "search/CosineHitlists.h"
#include "search/EvaluationFiles.h"
#include "search/LibraryScan.h"

namespace kiv {

void RunVectorSimilarityEvaluation(CBatchRun& run)
{
    CEvaluation evaluation(run, {});
    const int length = evaluation.vectors.Length();
    CCosineHitlists hits(evaluation.BuildTestVectors(), evaluation.width, kEmptySlot);
    ScanLibraryInBlocks(
        evaluation.LibrarySize(), length, [&](int32_t q) { return evaluation.ProgressAtRecord(q); },
        [&](int32_t q, double* out) { evaluation.vectors.Build(q, false, out); },
        [&](const double* block, int rows, int32_t first) { hits.Compare(block, rows, length, first); });
    evaluation.CloseLibrary();

    CEvaluationTables tables = CEvaluationTables::FromHitlists(hits);
    tables.FillTanimotos(evaluation.testIndex, evaluation.descriptors, 1);
    WriteResultFiles(ResultStem(run.settings), tables, "%8.4f");
}

}  // namespace kiv
