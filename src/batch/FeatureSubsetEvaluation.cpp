#include <algorithm>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "batch/Evaluation.h"
#include "batch/EvaluationTasks.h"

namespace kiv {

namespace {

// The precomputed feature matrix (N rows of F 4-byte floats), held whole or read row by row.
class CFeatureRows {
public:
    CFeatureRows(const std::string& path, int rows, int features, bool inMemory) : inMemory_(inMemory)
    {
        matrix_.Alloc(inMemory ? rows : 1, features);
        open_ = matrix_.OpenBin(path);
        if (!open_) {
            ReportRunTimeError("Error opening features.bin");
            return;
        }
        if (inMemory_) matrix_.ReadBin();
    }
    ~CFeatureRows() { matrix_.CloseBin(); }

    // Row k restricted to the subset (1-based feature numbers) into out.
    void Take(int k, const std::vector<int32_t>& subset, double* out)
    {
        if (!open_) {
            std::fill(out, out + subset.size(), 0.0);
            return;
        }
        int row = k;
        if (!inMemory_) {
            matrix_.ReadBinRow(k);
            row = 1;
        }
        for (size_t i = 0; i < subset.size(); ++i) out[i] = matrix_.Get(row, subset[i]);
    }

private:
    CMatrix matrix_;
    bool inMemory_;
    bool open_ = false;
};

}  // namespace

void RunFeatureSubsetEvaluation(CBatchRun& run)
{
    const CRunSettings& settings = run.settings;
    CEvaluation evaluation(run);
    const std::string stem = evaluation.Stem();
    CTextWriter runs;
    runs.Open(stem + "_runs.txt");
    evaluation.LoadDescriptors();
    evaluation.OpenLibrary();
    CObjectVectors vectors(evaluation.library, settings, false);
    vectors.Initialise();
    evaluation.LoadTestIndex();
    evaluation.CheckDescriptorCount();
    evaluation.CloseLibrary();

    const int features = vectors.FeatureCount();
    const int32_t size = evaluation.LibrarySize();
    const int tests = static_cast<int>(evaluation.testIndex.size());
    CFeatureRows rows(WithoutLast(settings.featureFile, 3) + "bin", size, features, settings.featuresRam == 1);
    const int selected = settings.selectFeatures;
    const int runCount = std::max(settings.randomRuns, 0);
    bool stopped = false;
    for (int r = 1; r <= runCount && !stopped; ++r) {
        const int seed = settings.randomSeed + r - 1;
        runs.Print("#%9d", r);
        CMatrixI draw;
        draw.RandomSubset(selected, features, seed);
        draw.Sort();
        std::vector<int32_t> subset(draw.Flat().begin(), draw.Flat().end());
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
                stopped = q % 10000 == 0 &&
                          !evaluation.Progress(static_cast<int>((100LL * (r - 1) + 100LL * q / size) / runCount));
                return !stopped;
            },
            [&](int32_t q, double* out) { rows.Take(q, subset, out); },
            [&](const double* block, int count, int32_t first) { hits.Compare(block, count, length, first); });
        CEvaluationTables tables = TablesFromHits(hits, evaluation.testIndex, evaluation.descriptors);
        if (settings.noLog != 1) WriteResultFiles(stem + Format("_%06d", seed), tables, "%8.4f");
        runs.Write(" Results1,5,20,100:");
        for (int k : {1, 5, 20, 100}) {
            if (k <= evaluation.width - 1) runs.Print(" %8.6f", tables.MeanOfFirstHits(k));
        }
        runs.Write("\n");
    }
}

}  // namespace kiv
