#pragma once
// Cosine hitlists of many test vectors against a stream of library vectors: every test vector
// keeps its best W library vectors, ordered by falling cosine, earlier references first among
// equal values. Each block of library vectors is compared with all test vectors at once, tiles of
// test vectors held interleaved so that the inner loop runs on vector registers, and the test
// vectors are shared out over the processor's cores (each core owns its hitlist rows).
#include <cstdint>
#include <vector>

#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

namespace kiv {

class CCosineHitlists {
public:
    // tests: one test vector per row. Hitlists start as (reference 0, emptySimilarity).
    CCosineHitlists(const CMatrix& tests, int width, double emptySimilarity);

    // Compares rows library[0..rows-1] (each `cols` values, row-major; cols is normally the test
    // vectors' length, shorter rows count as zero-padded) with every test vector; row i is
    // reference firstReference + i.
    void Compare(const double* library, int rows, int cols, int32_t firstReference);

    CMatrix similarities;  // tests x width
    CMatrixI references;  // tests x width

private:
    void CompareTiles(size_t firstTile, size_t lastTile, const double* library, int rows, const double* norms,
                      int32_t firstReference);

    int dimension_;
    int tests_;
    std::vector<double> tiles_;  // per tile of kTile test rows: dimension_ x kTile, interleaved
    std::vector<double> testNorms_;  // squared norms
    std::vector<double> padded_;  // library rows widened to dimension_ when they are shorter
};

}  // namespace kiv
