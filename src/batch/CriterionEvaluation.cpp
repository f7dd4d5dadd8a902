#include <cmath>

#include "base/Parallel.h"
#include "batch/Evaluation.h"
#include "batch/EvaluationTasks.h"
#include "search/Hitlist.h"
#include "search/Similarity.h"

namespace kiv {

namespace {

constexpr int kLibraryBlock = 256;

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
    std::vector<double> block(static_cast<size_t>(kLibraryBlock) * length);
    auto compareBlock = [&](int rows, int32_t firstReference) {
        ParallelFor(tests, [&](int begin, int end) {
            for (int l = begin + 1; l <= end; ++l) {
                double* s = tables.similarities.Row(l).data();
                int32_t* k = tables.records.Row(l).data();
                for (int q = 0; q < rows; ++q) {
                    if (!usable[static_cast<size_t>(l - 1)]) {
                        InsertHit(s, k, width, 0.0, 0);
                        continue;
                    }
                    const double* y = block.data() + static_cast<size_t>(q) * length;
                    InsertHit(s, k, width, Similarity(criterion, testVectors.Row(l).data(), y, columns),
                              firstReference + q);
                }
            }
        });
    };
    const int32_t size = evaluation.LibrarySize();
    int filled = 0;
    int32_t blockStart = 1;
    for (int32_t q = 1; q <= size; ++q) {
        if (q % 100 == 0 && !evaluation.Progress(static_cast<int>(100LL * q / size))) break;
        if (filled == kLibraryBlock) {
            compareBlock(filled, blockStart);
            filled = 0;
            blockStart = q;
        }
        vectors.Build(q, false, block.data() + static_cast<size_t>(filled) * length);
        ++filled;
    }
    compareBlock(filled, blockStart);
    evaluation.CloseLibrary();

    for (int l = 1; l <= tests; ++l) {
        const int32_t query = evaluation.testIndex[static_cast<size_t>(l - 1)];
        if (run.settings.delIdentHit1 == 1) RemoveQuery(tables, l, query);
        PlaceQueryFirst(tables, l, query);
    }
    tables.FillTanimotos(evaluation.testIndex, evaluation.descriptors, 2);
    const std::string stem = evaluation.Stem();
    WriteTable(stem + "_i.txt", tables.records, "%7d");
    WriteTable(stem + "_f.txt", tables.similarities, "%10.4f");
    WriteTable(stem + "_t.txt", tables.tanimotos, "%8.4f");
    WriteCurve(stem + "_s.txt", tables);
}

}  // namespace kiv
