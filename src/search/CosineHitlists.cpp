#include "search/CosineHitlists.h"

#include <algorithm>
#include <cmath>

#include "base/Parallel.h"
#include "search/Hitlist.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// One build serves every x86-64 machine; where the processor has AVX2 and FMA the kernel runs
// in a clone compiled for them.
#define KIV_VECTOR_CLONES __attribute__((target_clones("arch=haswell", "default")))
#else
#define KIV_VECTOR_CLONES
#endif

namespace kiv {

namespace {

constexpr int kTile = 8;  // test vectors per tile
constexpr double kTinyNorm = 1e-12;

// Dot products of one tile of test vectors (interleaved: tile[j * kTile + r] is element j of test
// vector r) with two library vectors.
KIV_VECTOR_CLONES void TileDots(const double* tile, int dimension, const double* y0, const double* y1,
                                double* out0, double* out1)
{
    double a0[kTile] = {}, a1[kTile] = {};
    for (int j = 0; j < dimension; ++j) {
        const double* t = tile + static_cast<size_t>(j) * kTile;
        const double v0 = y0[j], v1 = y1[j];
        for (int r = 0; r < kTile; ++r) {
            a0[r] += t[r] * v0;
            a1[r] += t[r] * v1;
        }
    }
    for (int r = 0; r < kTile; ++r) {
        out0[r] = a0[r];
        out1[r] = a1[r];
    }
}

double Cosine(double dot, double testNorm, double libraryNorm)
{
    double root = std::sqrt(testNorm * libraryNorm);
    return root >= kTinyNorm ? dot / root : 0.0;
}

}  // namespace

CCosineHitlists::CCosineHitlists(const CMatrix& tests, int width, double emptySimilarity)
    : dimension_(tests.Cols()), tests_(tests.Rows())
{
    similarities.Alloc(tests_, width);
    similarities.Fill(emptySimilarity);
    references.Alloc(tests_, width);
    const size_t tiles = (static_cast<size_t>(tests_) + kTile - 1) / kTile;
    tiles_.assign(tiles * dimension_ * kTile, 0.0);
    testNorms_.assign(tiles * kTile, 0.0);
    for (int l = 0; l < tests_; ++l) {
        const size_t tile = static_cast<size_t>(l) / kTile, lane = static_cast<size_t>(l) % kTile;
        double* base = tiles_.data() + tile * dimension_ * kTile;
        auto row = tests.Row(l + 1);
        double norm = 0;
        for (int j = 0; j < dimension_; ++j) {
            base[static_cast<size_t>(j) * kTile + lane] = row[j + 1];
            norm += row[j + 1] * row[j + 1];
        }
        testNorms_[static_cast<size_t>(l)] = norm;
    }
}

void CCosineHitlists::CompareTiles(size_t firstTile, size_t lastTile, const double* library, int rows,
                                   const double* norms, int32_t firstReference)
{
    const int width = similarities.Cols();
    double dots0[kTile], dots1[kTile];
    for (size_t tile = firstTile; tile < lastTile; ++tile) {
        const double* tileData = tiles_.data() + tile * dimension_ * kTile;
        const int firstTest = static_cast<int>(tile * kTile);
        const int lanes = std::min(kTile, tests_ - firstTest);
        for (int q = 0; q < rows; q += 2) {
            const double* y0 = library + static_cast<size_t>(q) * dimension_;
            const double* y1 = q + 1 < rows ? y0 + dimension_ : y0;
            TileDots(tileData, dimension_, y0, y1, dots0, dots1);
            for (int r = 0; r < lanes; ++r) {
                const int l = firstTest + r + 1;
                double* s = similarities.Row(l).data();
                int32_t* k = references.Row(l).data();
                const double testNorm = testNorms_[static_cast<size_t>(l - 1)];
                InsertHit(s, k, width, Cosine(dots0[r], testNorm, norms[q]), firstReference + q);
                if (q + 1 < rows) InsertHit(s, k, width, Cosine(dots1[r], testNorm, norms[q + 1]), firstReference + q + 1);
            }
        }
    }
}

void CCosineHitlists::Compare(const double* library, int rows, int cols, int32_t firstReference)
{
    if (rows <= 0 || tests_ == 0 || similarities.Cols() == 0) return;
    if (cols != dimension_) {
        // Rows of another length: compare the first dimension_ values, missing ones as zeros.
        padded_.assign(static_cast<size_t>(rows) * dimension_, 0.0);
        const int copied = std::min(cols, dimension_);
        for (int q = 0; q < rows; ++q) {
            std::copy_n(library + static_cast<size_t>(q) * cols, copied, padded_.data() + static_cast<size_t>(q) * dimension_);
        }
        library = padded_.data();
    }
    std::vector<double> norms(static_cast<size_t>(rows));
    for (int q = 0; q < rows; ++q) {
        const double* y = library + static_cast<size_t>(q) * dimension_;
        double norm = 0;
        for (int j = 0; j < dimension_; ++j) norm += y[j] * y[j];
        norms[static_cast<size_t>(q)] = norm;
    }
    const int tiles = (tests_ + kTile - 1) / kTile;
    ParallelFor(tiles, [&](int begin, int end) { CompareTiles(begin, end, library, rows, norms.data(), firstReference); });
}

}  // namespace kiv
