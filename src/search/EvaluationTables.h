#pragma once
// The tables of a search evaluation: for T test objects (rows) the record numbers K, the
// similarities L and the Tanimoto values M of their W best hits (columns, best first). The
// Tanimoto of the query's and the hit's structure descriptors tells how structurally similar
// the spectrally similar hits are.
#include <cstdint>
#include <utility>
#include <vector>

#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"
#include "search/DescriptorSet.h"

namespace kiv {

// Similarity of a hitlist slot without a hit, and Tanimoto of a slot without record.
constexpr double kEmptySlot = -0.999;

struct CEvaluationTables {
    CMatrixI records;  // K
    CMatrix similarities;  // L
    CMatrix tanimotos;  // M

    // T x W tables: no records, empty similarities, Tanimoto 0.
    void Allocate(int rows, int width);
    // The tables of finished hitlists (any type with references and similarities), which are
    // moved in; Tanimoto 0 until filled.
    template <class Hitlists>
    static CEvaluationTables FromHitlists(Hitlists& hits);

    // M(l, m) for m >= firstColumn: Tanimoto of the query's and the hit's descriptors, or the
    // empty mark when either record number is 0.
    void FillTanimotos(const std::vector<int32_t>& queries, const DescriptorSet& descriptors, int firstColumn);
    // The mean Tanimoto of the first k hits over all test objects (column 1, the query itself,
    // left out), divided by k: the curve of "_s.txt" for k = 1..W-1.
    double MeanOfFirstHits(int k) const;
    // The mean of column 1 of M over all rows (0 without rows): the one value of random pairs.
    double MeanOfFirstColumn() const;

    // Removes the query's own record from the first W-1 ranks of row (the last rank keeps its
    // value), so that it does not stand twice once it is placed first.
    void RemoveQuery(int row, int32_t query);
    // Puts the query itself in rank 1 of row (similarity 1, Tanimoto 1); the last rank drops out.
    void PlaceQueryFirst(int row, int32_t query);

    // Random pairs: one row per pair, K holds the two record numbers, L and M one value each,
    // all empty.
    void AllocatePairs(int pairs);
    // M(i, 1): Tanimoto of the two records of pair i, or the empty mark when one is 0.
    void FillPairTanimotos(const DescriptorSet& descriptors);
};

template <class Hitlists>
CEvaluationTables CEvaluationTables::FromHitlists(Hitlists& hits)
{
    CEvaluationTables tables;
    tables.records = std::move(hits.references);
    tables.similarities = std::move(hits.similarities);
    tables.tanimotos.Alloc(tables.records.Rows(), tables.records.Cols());
    return tables;
}

}  // namespace kiv
