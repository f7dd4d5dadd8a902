#include "batch/FeatureSubsetEvaluation.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/TextFile.h"
#include "batch/Evaluation.h"
#include "search/CosineHitlists.h"
#include "search/EvaluationFiles.h"
#include "search/FeatureRows.h"
#include "search/LibraryScan.h"

namespace kiv {

namespace {

constexpr int32_t kProgressRecords = 10000;

// "RandomSubset" of count features out of features, ascending.
std::vector<int32_t> DrawSubset(int count, int features, int seed)
{
    CMatrixI draw;
    draw.RandomSubset(count, features, seed);
    draw.Sort();
    return std::vector<int32_t>(draw.Flat().begin(), draw.Flat().end());
}

}  // namespace

void RunFeatureSubsetEvaluation(CBatchRun& run)
{
    const CRunSettings& settings = run.settings;
    const std::string stem = ResultStem(settings);
    CTextWriter runs;
    runs.Open(stem + "_runs.txt");
    // The library only sets up the feature definitions and gives its size: the values come
    // from the float file that the feature output wrote beside the definitions.
    CEvaluation evaluation(run, {.descriptorsFirst = true});
    evaluation.CloseLibrary();

    const int features = evaluation.vectors.FeatureCount();
    const int32_t size = evaluation.LibrarySize();
    const int tests = evaluation.TestCount();
    CFeatureRows rows(WithoutLast(settings.featureFile, 3) + "bin", size, features, settings.featuresRam == 1);
    const int runCount = std::max(settings.randomRuns, 0);
    bool stopped = false;
    for (int r = 1; r <= runCount && !stopped; ++r) {
        const int seed = settings.randomSeed + r - 1;
        runs.Print("#%9d", r);
        const std::vector<int32_t> subset = DrawSubset(settings.selectFeatures, features, seed);
        runs.Print(" %9d", seed);
        runs.Write(" Features:");
        for (int32_t feature : subset) runs.Print("%5d", feature);

        const int length = static_cast<int>(subset.size());
        CMatrix testVectors(tests, length);
        for (int l = 1; l <= tests; ++l) {
            const int32_t record = evaluation.testIndex[static_cast<size_t>(l - 1)];
            if (record > 0) rows.Take(record, subset, testVectors.Row(l).data());
        }
        CCosineHitlists hits(testVectors, evaluation.width, kEmptySlot);
        ScanLibraryInBlocks(
            size, length,
            [&](int32_t q) {
                stopped = q % kProgressRecords == 0 &&
                          !evaluation.Progress(static_cast<int>((100LL * (r - 1) + 100LL * q / size) / runCount));
                return !stopped;
            },
            [&](int32_t q, double* out) { rows.Take(q, subset, out); },
            [&](const double* block, int count, int32_t first) { hits.Compare(block, count, length, first); });
        CEvaluationTables tables = CEvaluationTables::FromHitlists(hits);
        tables.FillTanimotos(evaluation.testIndex, evaluation.descriptors, 1);
        if (settings.noLog != 1) WriteResultFiles(stem + Format("_%06d", seed), tables, "%8.4f");
        runs.Write(" Results1,5,20,100:");
        for (int k : {1, 5, 20, 100}) {
            if (k <= evaluation.width - 1) runs.Print(" %8.6f", tables.MeanOfFirstHits(k));
        }
        runs.Write("\n");
    }
}

}  // namespace kiv
