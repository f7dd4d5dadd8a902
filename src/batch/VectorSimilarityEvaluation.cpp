#include "batch/Evaluation.h"
#include "batch/EvaluationTasks.h"
#include "search/CosineHitlists.h"

namespace kiv {

namespace {

// Library records are read and vectorised in blocks of this many, then compared with all test
// vectors at once.
constexpr int kLibraryBlock = 256;

}  // namespace

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
    std::vector<double> block(static_cast<size_t>(kLibraryBlock) * length);
    int filled = 0;
    int32_t blockStart = 1;
    for (int32_t q = 1; q <= size; ++q) {
        if (q % 100 == 0 && !evaluation.Progress(static_cast<int>(100LL * q / size))) break;
        if (filled == kLibraryBlock) {
            hits.Compare(block.data(), filled, length, blockStart);
            filled = 0;
            blockStart = q;
        }
        vectors.Build(q, false, block.data() + static_cast<size_t>(filled) * length);
        ++filled;
    }
    hits.Compare(block.data(), filled, length, blockStart);
    evaluation.CloseLibrary();

    CEvaluationTables tables;
    tables.records = std::move(hits.references);
    tables.similarities = std::move(hits.similarities);
    tables.tanimotos.Alloc(tests, evaluation.width);
    tables.FillTanimotos(evaluation.testIndex, evaluation.descriptors, 1);
    const std::string stem = evaluation.Stem();
    WriteTable(stem + "_i.txt", tables.records, "%7d");
    WriteTable(stem + "_f.txt", tables.similarities, "%8.4f");
    WriteTable(stem + "_t.txt", tables.tanimotos, "%8.4f");
    WriteCurve(stem + "_s.txt", tables);
}

}  // namespace kiv
