#include "batch/Evaluation.h"
#include "batch/EvaluationTasks.h"

namespace kiv {

void RunVectorSimilarityEvaluation(CBatchRun& run)
{
    CEvaluation evaluation(run);
    evaluation.OpenLibrary();
    evaluation.LoadDescriptors();
    CObjectVectors vectors(evaluation.library, run.settings, false);
    vectors.Initialise();
    evaluation.LoadTestIndex();
    evaluation.CheckDescriptorCount();

    const int tests = static_cast<int>(evaluation.testIndex.size());
    const int length = vectors.Length();
    CMatrix testVectors(tests, length);
    for (int l = 1; l <= tests; ++l) {
        vectors.Build(evaluation.testIndex[static_cast<size_t>(l - 1)], true, testVectors.Row(l).data());
    }

    CCosineHitlists hits(testVectors, evaluation.width, kEmptySlot);
    const int32_t size = evaluation.LibrarySize();
    ScanLibraryInBlocks(
        size, length,
        [&](int32_t q) { return q % 100 != 0 || evaluation.Progress(static_cast<int>(100LL * q / size)); },
        [&](int32_t q, double* out) { vectors.Build(q, false, out); },
        [&](const double* block, int rows, int32_t first) { hits.Compare(block, rows, length, first); });
    evaluation.CloseLibrary();
    WriteResultFiles(evaluation.Stem(), TablesFromHits(hits, evaluation.testIndex, evaluation.descriptors), "%8.4f");
}

}  // namespace kiv
