#include "matrix/VectorKernels.h"

#include <cstddef>
#include <cstring>

namespace kiv {

namespace {

inline void AccumulateRowBlockBody(double* out, const double* a, ptrdiff_t step, const double* y, int stride, int j0,
                                   int j1, int k0, int k1)
{
    // Four rows of y at a time keep out[k] in a register; the terms are still added one after
    // the other in the order of j.
    int j = j0;
    for (; j + 4 <= j1; j += 4) {
        const double f0 = a[j * step], f1 = a[(j + 1) * step], f2 = a[(j + 2) * step], f3 = a[(j + 3) * step];
        const double* b0 = y + static_cast<ptrdiff_t>(j) * stride;
        const double* b1 = b0 + stride;
        const double* b2 = b1 + stride;
        const double* b3 = b2 + stride;
        for (int k = k0; k < k1; ++k) out[k] = out[k] + f0 * b0[k] + f1 * b1[k] + f2 * b2[k] + f3 * b3[k];
    }
    for (; j < j1; ++j) {
        const double factor = a[j * step];
        const double* b = y + static_cast<ptrdiff_t>(j) * stride;
        for (int k = k0; k < k1; ++k) out[k] += factor * b[k];
    }
}

// Four doubles; the compiler maps it to one AVX register or two SSE registers.
typedef double Quad __attribute__((vector_size(32)));

// Through a reference: a vector returned by value would tie the plain build to the AVX calling
// convention.
inline void LoadQuad(Quad& q, const double* p)
{
    std::memcpy(&q, p, sizeof q);
}

inline void AccumulateTileBody(double* const* out, const double* const* a, ptrdiff_t step, const double* y, int stride,
                               int j0, int j1, int k0)
{
    static_assert(kTileRows == 4 && kTileCols == 8);
    Quad acc[kTileRows][2];
    for (int r = 0; r < kTileRows; ++r) {
        LoadQuad(acc[r][0], out[r] + k0);
        LoadQuad(acc[r][1], out[r] + k0 + 4);
    }
    for (int j = j0; j < j1; ++j) {
        const double* b = y + static_cast<ptrdiff_t>(j) * stride + k0;
        Quad b0, b1;
        LoadQuad(b0, b);
        LoadQuad(b1, b + 4);
        for (int r = 0; r < kTileRows; ++r) {
            const double f = a[r][j * step];
            acc[r][0] += f * b0;
            acc[r][1] += f * b1;
        }
    }
    for (int r = 0; r < kTileRows; ++r) {
        std::memcpy(out[r] + k0, &acc[r][0], sizeof(Quad));
        std::memcpy(out[r] + k0 + 4, &acc[r][1], sizeof(Quad));
    }
}

inline double DotProductBody(const double* a, const double* b, int begin, int end)
{
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    int r = begin;
    for (; r + 4 <= end; r += 4) {
        s0 += a[r] * b[r];
        s1 += a[r + 1] * b[r + 1];
        s2 += a[r + 2] * b[r + 2];
        s3 += a[r + 3] * b[r + 3];
    }
    for (; r < end; ++r) s0 += a[r] * b[r];
    return (s0 + s1) + (s2 + s3);
}

inline void SubtractScaledBody(double* x, const double* v, double s, int begin, int end)
{
    for (int r = begin; r < end; ++r) x[r] -= s * v[r];
}

inline void DotProductPairBody(const double* v, const double* x, const double* z, int begin, int end, double& dx,
                               double& dz)
{
    double x0 = 0.0, x1 = 0.0, x2 = 0.0, x3 = 0.0, z0 = 0.0, z1 = 0.0, z2 = 0.0, z3 = 0.0;
    int r = begin;
    for (; r + 4 <= end; r += 4) {
        x0 += v[r] * x[r];
        x1 += v[r + 1] * x[r + 1];
        x2 += v[r + 2] * x[r + 2];
        x3 += v[r + 3] * x[r + 3];
        z0 += v[r] * z[r];
        z1 += v[r + 1] * z[r + 1];
        z2 += v[r + 2] * z[r + 2];
        z3 += v[r + 3] * z[r + 3];
    }
    for (; r < end; ++r) {
        x0 += v[r] * x[r];
        z0 += v[r] * z[r];
    }
    dx = (x0 + x1) + (x2 + x3);
    dz = (z0 + z1) + (z2 + z3);
}

inline void SubtractScaledPairBody(double* x, double* z, const double* v, double sx, double sz, int begin, int end)
{
    for (int r = begin; r < end; ++r) {
        x[r] -= sx * v[r];
        z[r] -= sz * v[r];
    }
}

struct Kernels {
    void (*accumulate)(double*, const double*, int, const double*, int, int, int, int, int);
    void (*tile)(double* const*, const double* const*, int, const double*, int, int, int, int);
    double (*dot)(const double*, const double*, int, int);
    void (*subtract)(double*, const double*, double, int, int);
    void (*dotPair)(const double*, const double*, const double*, int, int, double&, double&);
    void (*subtractPair)(double*, double*, const double*, double, double, int, int);
};

void AccumulatePlain(double* out, const double* a, int step, const double* y, int stride, int j0, int j1, int k0, int k1)
{
    AccumulateRowBlockBody(out, a, step, y, stride, j0, j1, k0, k1);
}
void TilePlain(double* const* out, const double* const* a, int step, const double* y, int stride, int j0, int j1, int k0)
{
    AccumulateTileBody(out, a, step, y, stride, j0, j1, k0);
}
double DotPlain(const double* a, const double* b, int begin, int end) { return DotProductBody(a, b, begin, end); }
void SubtractPlain(double* x, const double* v, double s, int begin, int end) { SubtractScaledBody(x, v, s, begin, end); }
void DotPairPlain(const double* v, const double* x, const double* z, int begin, int end, double& dx, double& dz)
{
    DotProductPairBody(v, x, z, begin, end, dx, dz);
}
void SubtractPairPlain(double* x, double* z, const double* v, double sx, double sz, int begin, int end)
{
    SubtractScaledPairBody(x, z, v, sx, sz, begin, end);
}

#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target("avx2")]] void AccumulateAvx2(double* out, const double* a, int step, const double* y, int stride, int j0,
                                            int j1, int k0, int k1)
{
    AccumulateRowBlockBody(out, a, step, y, stride, j0, j1, k0, k1);
}
[[gnu::target("avx2")]] void TileAvx2(double* const* out, const double* const* a, int step, const double* y, int stride,
                                      int j0, int j1, int k0)
{
    AccumulateTileBody(out, a, step, y, stride, j0, j1, k0);
}
[[gnu::target("avx2")]] double DotAvx2(const double* a, const double* b, int begin, int end)
{
    return DotProductBody(a, b, begin, end);
}
[[gnu::target("avx2")]] void SubtractAvx2(double* x, const double* v, double s, int begin, int end)
{
    SubtractScaledBody(x, v, s, begin, end);
}
[[gnu::target("avx2")]] void DotPairAvx2(const double* v, const double* x, const double* z, int begin, int end,
                                         double& dx, double& dz)
{
    DotProductPairBody(v, x, z, begin, end, dx, dz);
}
[[gnu::target("avx2")]] void SubtractPairAvx2(double* x, double* z, const double* v, double sx, double sz, int begin,
                                              int end)
{
    SubtractScaledPairBody(x, z, v, sx, sz, begin, end);
}

Kernels ChooseKernels()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return {AccumulateAvx2, TileAvx2, DotAvx2, SubtractAvx2, DotPairAvx2, SubtractPairAvx2};
    return {AccumulatePlain, TilePlain, DotPlain, SubtractPlain, DotPairPlain, SubtractPairPlain};
}
#else
Kernels ChooseKernels() { return {AccumulatePlain, TilePlain, DotPlain, SubtractPlain, DotPairPlain, SubtractPairPlain}; }
#endif

const Kernels kKernels = ChooseKernels();

}  // namespace

void AccumulateRowBlock(double* out, const double* a, int step, const double* y, int stride, int j0, int j1, int k0,
                        int k1)
{
    kKernels.accumulate(out, a, step, y, stride, j0, j1, k0, k1);
}

void AccumulateTile(double* const* out, const double* const* a, int step, const double* y, int stride, int j0, int j1,
                    int k0)
{
    kKernels.tile(out, a, step, y, stride, j0, j1, k0);
}

double DotProduct(const double* a, const double* b, int begin, int end)
{
    return kKernels.dot(a, b, begin, end);
}

void SubtractScaled(double* x, const double* v, double s, int begin, int end)
{
    kKernels.subtract(x, v, s, begin, end);
}

void DotProductPair(const double* v, const double* x, const double* z, int begin, int end, double& dx, double& dz)
{
    kKernels.dotPair(v, x, z, begin, end, dx, dz);
}

void SubtractScaledPair(double* x, double* z, const double* v, double sx, double sz, int begin, int end)
{
    kKernels.subtractPair(x, z, v, sx, sz, begin, end);
}

}  // namespace kiv
