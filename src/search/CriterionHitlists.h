#pragma once
// Hitlists of many test vectors under a similarity criterion, against a stream of library
// vectors: every test vector keeps its best W library vectors, ordered by falling similarity,
// earlier references first among equal values. The test vectors are shared out over the
// processor's cores (each core owns its hitlist rows).
#include <cstdint>
#include <vector>

#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"
#include "search/SimilarityCriterion.h"

namespace kiv {

class CCriterionHitlists {
public:
    // tests: one test vector per row; columns: the columns compared (1-based). Hitlists start
    // as (reference 0, emptySimilarity). A test vector with fewer than two values among its
    // columns 1..c-1 cannot be compared meaningfully: every library vector enters its hitlist
    // as similarity 0 without record.
    CCriterionHitlists(CMatrix tests, int width, SimilarityCriterion criterion,
                       std::vector<int32_t> columns, double emptySimilarity);

    // Compares rows library[0..rows-1] (each as long as a test vector, row-major) with every
    // test vector; row i is reference firstReference + i.
    void Compare(const double* library, int rows, int32_t firstReference);

    CMatrix similarities;  // tests x width
    CMatrixI references;  // tests x width

private:
    CMatrix tests_;
    SimilarityCriterion criterion_;
    std::vector<int32_t> columns_;
    std::vector<char> usable_;  // per test row
};

}  // namespace kiv
