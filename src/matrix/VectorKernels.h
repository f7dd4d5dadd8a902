#pragma once
// The innermost loops of the matrix products and the QR factorisation, compiled once for every
// x86-64 processor and once more for processors with AVX2 (chosen at run time by the processor's
// features). No fused multiply-add is used, so every machine computes the same results.
namespace kiv {

// out[k] += sum_{j = j0..j1-1} a[j * step] * y[j * stride + k] for k in [k0, k1), adding j in
// order (step 1: a is a row of the left factor; step = its width: a column, for X^T Y).
void AccumulateRowBlock(double* out, const double* a, int step, const double* y, int stride, int j0, int j1, int k0,
                        int k1);

// The same for four rows at once (out[r], a[r], r = 0..3) and the eight columns k0..k0+7, the
// 32 sums held in registers over the whole range of j.
void AccumulateTile(double* const* out, const double* const* a, int step, const double* y, int stride, int j0, int j1,
                    int k0);
constexpr int kTileRows = 4;
constexpr int kTileCols = 8;

// sum of a[r] * b[r] for r in [begin, end), in four interleaved partial sums.
double DotProduct(const double* a, const double* b, int begin, int end);

// x[r] -= s * v[r] for r in [begin, end).
void SubtractScaled(double* x, const double* v, double s, int begin, int end);

// Both of the above for two vectors x and z against the same v in one pass over v; each result is
// the same as from the single form.
void DotProductPair(const double* v, const double* x, const double* z, int begin, int end, double& dx, double& dz);
void SubtractScaledPair(double* x, double* z, const double* v, double sx, double sz, int begin, int end);

}  // namespace kiv
