#include <cmath>

#include "base/Parallel.h"
#include "batch/Evaluation.h"
#include "batch/EvaluationTasks.h"
#include "search/Hitlist.h"
#include "search/Similarity.h"

namespace kiv {

namespace {

bool IsSiscomCriterion(int criterion) { return criterion >= 7 && criterion <= 9; }

// A test vector with fewer than two values among its columns 1..c-1 cannot be compared
// meaningfully: its hitlist gets zero similarities without record.
bool Usable(const double* vector, int length)
{
    int values = 0;
    for (int j = 0; j < length - 1; ++j) values += std::fabs(vector[j]) > 1e-12;
    return values >= 2;
}

// Removes the query's own record from the first W-1 ranks (the last rank keeps its value).
void RemoveQuery(CEvaluationTables& tables, int row, int32_t query)
{
    const int width = tables.records.Cols();
    for (int m = 1; m <= width - 1; ++m) {
        if (tables.records.Get(row, m) != query) continue;
        for (int p = m; p < width; ++p) {
            tables.records.Set(row, p, tables.records.Get(row, p + 1));
            tables.similarities.Set(row, p, tables.similarities.Get(row, p + 1));
        }
        return;
    }
}

// Puts the query itself in rank 1 (similarity 1, Tanimoto 1); the last rank drops out.
void PlaceQueryFirst(CEvaluationTables& tables, int row, int32_t query)
{
    for (int p = tables.records.Cols(); p > 1; --p) {
        tables.records.Set(row, p, tables.records.Get(row, p - 1));
        tables.similarities.Set(row, p, tables.similarities.Get(row, p - 1));
    }
    tables.records.Set(row, 1, query);
    tables.similarities.Set(row, 1, 1.0);
    tables.tanimotos.Set(row, 1, 1.0);
}

}  // namespace

void RunCriterionEvaluation(CBatchRun& run)
{
    // Criteria from 10 on are the best-candidates score.
    const int criterion = run.settings.simCriterion >= 10 ? 7 : run.settings.simCriterion;
    CEvaluation evaluation(run);
    evaluation.OpenLibrary();
    evaluation.LoadDescriptors();
    CObjectVectors vectors(evaluation.library, run.settings, IsSiscomCriterion(criterion));
    vectors.Initialise();
    evaluation.LoadTestIndex();
    evaluation.CheckDescriptorCount();

    const int tests = static_cast<int>(evaluation.testIndex.size());
    const int length = vectors.Length();
    CMatrix testVectors(tests, length);
    std::vector<char> usable(static_cast<size_t>(tests));
    for (int l = 1; l <= tests; ++l) {
        vectors.Build(evaluation.testIndex[static_cast<size_t>(l - 1)], true, testVectors.Row(l).data());
        usable[static_cast<size_t>(l - 1)] = Usable(testVectors.Row(l).data(), length);
    }
    const std::vector<int32_t> columns = SelectColumns(run.parameters.simFeatSel, length);

    CEvaluationTables tables;
    tables.Allocate(tests, evaluation.width);
    const int width = evaluation.width;
    auto compareBlock = [&](const double* block, int rows, int32_t firstReference) {
        ParallelFor(tests, [&](int begin, int end) {
            for (int l = begin + 1; l <= end; ++l) {
                double* s = tables.similarities.Row(l).data();
                int32_t* k = tables.records.Row(l).data();
                const bool compare = usable[static_cast<size_t>(l - 1)];
                for (int q = 0; q < rows; ++q) {
                    const double* y = block + static_cast<size_t>(q) * length;
                    if (compare) {
                        InsertHit(s, k, width, Similarity(criterion, testVectors.Row(l).data(), y, columns),
                                  firstReference + q);
                    } else {
                        InsertHit(s, k, width, 0.0, 0);
                    }
                }
            }
        });
    };
    const int32_t size = evaluation.LibrarySize();
    ScanLibraryInBlocks(
        size, length,
        [&](int32_t q) { return q % 100 != 0 || evaluation.Progress(static_cast<int>(100LL * q / size)); },
        [&](int32_t q, double* out) { vectors.Build(q, false, out); }, compareBlock);
    evaluation.CloseLibrary();

    for (int l = 1; l <= tests; ++l) {
        const int32_t query = evaluation.testIndex[static_cast<size_t>(l - 1)];
        if (run.settings.delIdentHit1 == 1) RemoveQuery(tables, l, query);
        PlaceQueryFirst(tables, l, query);
    }
    tables.FillTanimotos(evaluation.testIndex, evaluation.descriptors, 2);
    WriteResultFiles(evaluation.Stem(), tables, "%10.4f");
}

}  // namespace kiv
