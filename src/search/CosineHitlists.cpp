#include "search/CosineHitlists.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Parallel.h"
#include "search/Hitlist.h"


namespace kiv {

namespace {

constexpr int kTile = 8;  // test vectors per tile
constexpr double kTinyNorm = 1e-12;

constexpr int kReferencesPerPass = 4;

// The kTile lanes of a tile row as one vector value (the compiler maps it onto whatever
// registers the clone's instruction set has).
using TileRow = double __attribute__((vector_size(kTile * sizeof(double))));

// Dot products of one tile of test vectors (interleaved: tile[j * kTile + r] is element j of test
// vector r) with kReferencesPerPass library vectors y[0..]; out[k * kTile + r] is test r with
// library vector k. Each sum runs over j in order, as the plain formula adds; the independent
// sums keep the multiply-add units busy.
[[gnu::always_inline]] inline void TileDotsBody(const double* tile, int dimension, const double* const* y,
                                                double* out)
{
    static_assert(kReferencesPerPass == 4);
    TileRow a0 = {}, a1 = {}, a2 = {}, a3 = {};
    const double *y0 = y[0], *y1 = y[1], *y2 = y[2], *y3 = y[3];
    for (int j = 0; j < dimension; ++j) {
        TileRow t;
        std::memcpy(&t, tile + static_cast<size_t>(j) * kTile, sizeof t);
        a0 += t * y0[j];
        a1 += t * y1[j];
        a2 += t * y2[j];
        a3 += t * y3[j];
    }
    const TileRow sums[kReferencesPerPass] = {a0, a1, a2, a3};
    std::memcpy(out, sums, sizeof sums);
}

using TileDotsFunction = void (*)(const double*, int, const double* const*, double*);

void TileDotsPlain(const double* tile, int dimension, const double* const* y, double* out)
{
    TileDotsBody(tile, dimension, y, out);
}

#if defined(__x86_64__) && defined(__GNUC__)
// One build serves every x86-64 machine: the kernel is compiled a second and a third time for
// processors with AVX2 and FMA, and with AVX-512, and the best one the processor has is chosen
// once, by its features.
[[gnu::target("avx2,fma")]] void TileDotsAvx2(const double* tile, int dimension, const double* const* y, double* out)
{
    TileDotsBody(tile, dimension, y, out);
}

[[gnu::target("avx512f,avx512vl,avx512dq,avx2,fma")]] void TileDotsAvx512(const double* tile, int dimension,
                                                                        const double* const* y, double* out)
{
    TileDotsBody(tile, dimension, y, out);
}

TileDotsFunction ChooseTileDots()
{
    __builtin_cpu_init();
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512dq")) {
        return TileDotsAvx512;
    }
    return avx2 ? TileDotsAvx2 : TileDotsPlain;
}
#else
TileDotsFunction ChooseTileDots() { return TileDotsPlain; }
#endif

const TileDotsFunction TileDots = ChooseTileDots();

// False when the cosine certainly cannot beat worst, the last stored similarity: most library
// vectors end here without a square root or a division once a hitlist has filled. The margin
// keeps the decision exact; anything close is computed.
bool MayEnter(double dot, double normProduct, double worst)
{
    if (worst < 0) return true;
    if (dot <= 0) return false;  // the cosine is at most 0, which does not beat worst >= 0
    return dot * dot >= worst * worst * normProduct * (1 - 1e-12);
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
    double dots[kReferencesPerPass * kTile];
    const double* y[kReferencesPerPass];
    for (size_t tile = firstTile; tile < lastTile; ++tile) {
        const double* tileData = tiles_.data() + tile * dimension_ * kTile;
        const int firstTest = static_cast<int>(tile * kTile);
        const int lanes = std::min(kTile, tests_ - firstTest);
        for (int q = 0; q < rows; q += kReferencesPerPass) {
            const int count = std::min(kReferencesPerPass, rows - q);
            for (int k = 0; k < kReferencesPerPass; ++k) {
                // A short last pass repeats the last vector; its products are not used.
                y[k] = library + static_cast<size_t>(q + std::min(k, count - 1)) * dimension_;
            }
            TileDots(tileData, dimension_, y, dots);
            for (int r = 0; r < lanes; ++r) {
                const int l = firstTest + r + 1;
                double* s = similarities.Row(l).data();
                int32_t* hit = references.Row(l).data();
                const double testNorm = testNorms_[static_cast<size_t>(l - 1)];
                for (int k = 0; k < count; ++k) {
                    const double dot = dots[k * kTile + r];
                    const double normProduct = testNorm * norms[q + k];
                    if (!MayEnter(dot, normProduct, s[width - 1])) continue;
                    InsertHit(s, hit, width, Cosine(dot, testNorm, norms[q + k]), firstReference + q + k);
                }
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
