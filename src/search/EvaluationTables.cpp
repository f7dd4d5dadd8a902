#include "search/EvaluationTables.h"

namespace kiv {

void CEvaluationTables::Allocate(int rows, int width)
{
    records.Alloc(rows, width);
    similarities.Alloc(rows, width);
    similarities.Fill(kEmptySlot);
    tanimotos.Alloc(rows, width);
}

void CEvaluationTables::FillTanimotos(const std::vector<int32_t>& queries, const DescriptorSet& descriptors,
                                      int firstColumn)
{
    for (int l = 1; l <= records.Rows(); ++l) {
        const int32_t query = queries[static_cast<size_t>(l - 1)];
        for (int m = firstColumn; m <= records.Cols(); ++m) {
            const int32_t hit = records.Get(l, m);
            tanimotos.Set(l, m, query == 0 || hit == 0 ? kEmptySlot : descriptors.Tanimoto(query, hit));
        }
    }
}

double CEvaluationTables::MeanOfFirstHits(int k) const
{
    const int tests = tanimotos.Rows();
    if (tests < 1) return 0.0;
    double sum = 0;
    for (int j = 1; j <= k; ++j) {
        double column = 0;
        for (int l = 1; l <= tests; ++l) column += tanimotos.Get(l, j + 1);
        sum += column / tests;
    }
    return sum / k;
}

double CEvaluationTables::MeanOfFirstColumn() const
{
    const int rows = tanimotos.Rows();
    if (rows < 1) return 0.0;
    double sum = 0;
    for (int i = 1; i <= rows; ++i) sum += tanimotos.Get(i, 1);
    return sum / rows;
}

void CEvaluationTables::RemoveQuery(int row, int32_t query)
{
    const int width = records.Cols();
    for (int m = 1; m <= width - 1; ++m) {
        if (records.Get(row, m) != query) continue;
        for (int p = m; p < width; ++p) {
            records.Set(row, p, records.Get(row, p + 1));
            similarities.Set(row, p, similarities.Get(row, p + 1));
        }
        return;
    }
}

void CEvaluationTables::PlaceQueryFirst(int row, int32_t query)
{
    for (int p = records.Cols(); p > 1; --p) {
        records.Set(row, p, records.Get(row, p - 1));
        similarities.Set(row, p, similarities.Get(row, p - 1));
    }
    records.Set(row, 1, query);
    similarities.Set(row, 1, 1.0);
    tanimotos.Set(row, 1, 1.0);
}

void CEvaluationTables::AllocatePairs(int pairs)
{
    records.Alloc(pairs, 2);
    similarities.Alloc(pairs, 1);
    similarities.Fill(kEmptySlot);
    tanimotos.Alloc(pairs, 1);
    tanimotos.Fill(kEmptySlot);
}

void CEvaluationTables::FillPairTanimotos(const DescriptorSet& descriptors)
{
    for (int i = 1; i <= records.Rows(); ++i) {
        const int32_t a = records.Get(i, 1), b = records.Get(i, 2);
        tanimotos.Set(i, 1, a == 0 || b == 0 ? kEmptySlot : descriptors.Tanimoto(a, b));
    }
}

}  // namespace kiv
