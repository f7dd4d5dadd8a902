#include "matrix/Svd.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "base/Parallel.h"
#include "base/Reporter.h"
#include "matrix/VectorKernels.h"

namespace kiv {

namespace {

// Below this many element operations a step runs on one core (a thread costs more).
constexpr int64_t kParallelWork = int64_t(1) << 17;
// Rows handled together so that the columns of one chunk stay in the cache.
constexpr int kRowChunk = 256;

// Plane rotation of two columns: x_a' = x_a c + x_b s, x_b' = x_b c - x_a s.
struct Rotation {
    int a;
    int b;
    double c;
    double s;
};

double Sign(double a, double b)
{
    return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

// body(first, last) over the 1-based range first..last, shared over the cores when the work is
// large; every item is computed by one thread in the serial way, so results do not depend on it.
void SplitRange(int first, int last, int64_t workPerItem, const std::function<void(int, int)>& body)
{
    const int count = last - first + 1;
    if (count <= 0) return;
    if (static_cast<int64_t>(count) * workPerItem < kParallelWork) {
        body(first, last);
        return;
    }
    ParallelFor(count, [&](int begin, int end) { body(first + begin, first + end - 1); });
}

// Column j (1-based) of a column-major matrix with the given row count; element k of the column
// is at [k - 1].
double* Column(std::vector<double>& x, int rows, int j)
{
    return x.data() + static_cast<int64_t>(j - 1) * rows;
}

void ApplyRotations(std::vector<double>& x, int rows, std::vector<Rotation>& list)
{
    if (list.empty()) return;
    SplitRange(1, rows, static_cast<int64_t>(list.size()) * 4, [&](int first, int last) {
        for (int r0 = first; r0 <= last; r0 += kRowChunk) {
            const int r1 = std::min(last, r0 + kRowChunk - 1);
            for (const Rotation& rot : list) {
                double* p = Column(x, rows, rot.a);
                double* q = Column(x, rows, rot.b);
                for (int r = r0 - 1; r < r1; ++r) {
                    const double y = p[r];
                    const double z = q[r];
                    p[r] = y * rot.c + z * rot.s;
                    q[r] = z * rot.c - y * rot.s;
                }
            }
        }
    });
    list.clear();
}

class CGolubReinsch {
public:
    CGolubReinsch(SvdColumns& s, bool wantU) : s_(s), m_(s.rows), n_(s.cols), wantU_(wantU), rv1_(n_ + 1, 0.0) {}

    void Run()
    {
        Bidiagonalise();
        AccumulateRight();
        if (wantU_) AccumulateLeft();
        Diagonalise();
    }

private:
    double& A(int i, int j) { return s_.u[static_cast<size_t>(static_cast<int64_t>(j - 1) * m_ + (i - 1))]; }
    double& W(int i) { return s_.w[static_cast<size_t>(i - 1)]; }
    double& V(int i, int j) { return s_.v[static_cast<size_t>(static_cast<int64_t>(j - 1) * n_ + (i - 1))]; }
    double* ACol(int j) { return Column(s_.u, m_, j); }
    double* VCol(int j) { return Column(s_.v, n_, j); }

    // Householder reduction to bidiagonal form: w the diagonal, rv1 the superdiagonal.
    void Bidiagonalise()
    {
        double g = 0.0, scale = 0.0;
        for (int i = 1; i <= n_; ++i) {
            const int l = i + 1;
            rv1_[static_cast<size_t>(i)] = scale * g;
            g = scale = 0.0;
            if (i <= m_) g = LeftHouseholder(i, l, scale);
            W(i) = scale * g;
            g = scale = 0.0;
            if (i <= m_ && i != n_) g = RightHouseholder(i, l, scale);
            anorm_ = std::max(anorm_, std::fabs(W(i)) + std::fabs(rv1_[static_cast<size_t>(i)]));
        }
    }

    // Clears column i below the diagonal; returns g and sets scale.
    double LeftHouseholder(int i, int l, double& scale)
    {
        double* ai = ACol(i);
        for (int k = i; k <= m_; ++k) scale += std::fabs(ai[k - 1]);
        if (scale == 0.0) return 0.0;
        double s = 0.0;
        for (int k = i; k <= m_; ++k) {
            ai[k - 1] /= scale;
            s += ai[k - 1] * ai[k - 1];
        }
        const double f = ai[i - 1];
        const double g = -Sign(std::sqrt(s), f);
        const double h = f * g - s;
        ai[i - 1] = f - g;
        SplitRange(l, n_, m_ - i + 1, [&](int first, int last) {
            for (int j = first; j <= last; ++j) {
                double* aj = ACol(j);
                double sum = 0.0;
                for (int k = i; k <= m_; ++k) sum += ai[k - 1] * aj[k - 1];
                const double factor = sum / h;
                for (int k = i; k <= m_; ++k) aj[k - 1] += factor * ai[k - 1];
            }
        });
        for (int k = i; k <= m_; ++k) ai[k - 1] *= scale;
        return g;
    }

    // Clears row i right of the superdiagonal; returns g and sets scale.
    double RightHouseholder(int i, int l, double& scale)
    {
        for (int k = l; k <= n_; ++k) scale += std::fabs(A(i, k));
        if (scale == 0.0) return 0.0;
        double s = 0.0;
        for (int k = l; k <= n_; ++k) {
            A(i, k) /= scale;
            s += A(i, k) * A(i, k);
        }
        const double f = A(i, l);
        const double g = -Sign(std::sqrt(s), f);
        const double h = f * g - s;
        A(i, l) = f - g;
        for (int k = l; k <= n_; ++k) rv1_[static_cast<size_t>(k)] = A(i, k) / h;
        // Rows l..m: s_j = sum_k A(j, k) A(i, k), then A(j, k) += s_j rv1(k); the sums run over
        // the columns in the serial order, a chunk of rows at a time.
        SplitRange(l, m_, n_ - l + 1, [&](int first, int last) {
            std::vector<double> sums(static_cast<size_t>(kRowChunk));
            for (int r0 = first; r0 <= last; r0 += kRowChunk) {
                const int r1 = std::min(last, r0 + kRowChunk - 1);
                std::fill(sums.begin(), sums.end(), 0.0);
                for (int k = l; k <= n_; ++k) {
                    const double aik = A(i, k);
                    const double* ak = ACol(k);
                    for (int j = r0; j <= r1; ++j) sums[static_cast<size_t>(j - r0)] += ak[j - 1] * aik;
                }
                for (int k = l; k <= n_; ++k) {
                    const double r = rv1_[static_cast<size_t>(k)];
                    double* ak = ACol(k);
                    for (int j = r0; j <= r1; ++j) ak[j - 1] += sums[static_cast<size_t>(j - r0)] * r;
                }
            }
        });
        for (int k = l; k <= n_; ++k) A(i, k) *= scale;
        return g;
    }

    void AccumulateRight()
    {
        int l = n_ + 1;
        double g = 0.0;
        std::vector<double> rowI(static_cast<size_t>(n_ + 1));
        for (int i = n_; i >= 1; --i) {
            if (i < n_) {
                if (g != 0.0) {
                    // Double division to avoid possible underflow.
                    for (int j = l; j <= n_; ++j) V(j, i) = (A(i, j) / A(i, l)) / g;
                    for (int k = l; k <= n_; ++k) rowI[static_cast<size_t>(k)] = A(i, k);
                    const double* vi = VCol(i);
                    SplitRange(l, n_, n_ - l + 1, [&](int first, int last) {
                        for (int j = first; j <= last; ++j) {
                            double* vj = VCol(j);
                            double sum = 0.0;
                            for (int k = l; k <= n_; ++k) sum += rowI[static_cast<size_t>(k)] * vj[k - 1];
                            for (int k = l; k <= n_; ++k) vj[k - 1] += sum * vi[k - 1];
                        }
                    });
                }
                for (int j = l; j <= n_; ++j) V(i, j) = V(j, i) = 0.0;
            }
            V(i, i) = 1.0;
            g = rv1_[static_cast<size_t>(i)];
            l = i;
        }
    }

    void AccumulateLeft()
    {
        for (int i = std::min(m_, n_); i >= 1; --i) {
            const int l = i + 1;
            double g = W(i);
            for (int j = l; j <= n_; ++j) A(i, j) = 0.0;
            double* ai = ACol(i);
            if (g != 0.0) {
                g = 1.0 / g;
                SplitRange(l, n_, m_ - i + 1, [&](int first, int last) {
                    for (int j = first; j <= last; ++j) {
                        double* aj = ACol(j);
                        double sum = 0.0;
                        for (int k = l; k <= m_; ++k) sum += ai[k - 1] * aj[k - 1];
                        const double f = (sum / ai[i - 1]) * g;
                        for (int k = i; k <= m_; ++k) aj[k - 1] += f * ai[k - 1];
                    }
                });
                for (int j = i; j <= m_; ++j) ai[j - 1] *= g;
            } else {
                for (int j = i; j <= m_; ++j) ai[j - 1] = 0.0;
            }
            ++ai[i - 1];
        }
    }

    bool Negligible(double x) const { return std::fabs(x) + anorm_ == anorm_; }

    void FlushRotations()
    {
        if (wantU_) ApplyRotations(s_.u, m_, uRotations_);
        ApplyRotations(s_.v, n_, vRotations_);
    }

    // QR sweeps on the bidiagonal form, from the last singular value to the first.
    void Diagonalise()
    {
        for (int k = n_; k >= 1; --k) {
            for (int its = 1; its <= 30; ++its) {
                // Test for splitting; rv1(1) is always zero, so the search ends at l = 1.
                bool cancel = true;
                int l = k;
                for (; l >= 1; --l) {
                    if (l == 1 || Negligible(rv1_[static_cast<size_t>(l)])) {
                        cancel = false;
                        break;
                    }
                    if (Negligible(W(l - 1))) break;
                }
                if (cancel) Cancel(l, k);
                const double z = W(k);
                if (l == k) {
                    FlushRotations();
                    if (z < 0.0) {
                        // Singular value made non-negative.
                        W(k) = -z;
                        double* vk = VCol(k);
                        for (int j = 0; j < n_; ++j) vk[j] = -vk[j];
                    }
                    break;
                }
                if (its == 30) ReportNumericalError("no convergence in 30 svdcmp iterations");
                Sweep(l, k);
                FlushRotations();
            }
        }
    }

    // Cancellation of rv1(l) when w(l - 1) is negligible.
    void Cancel(int l, int k)
    {
        const int nm = l - 1;
        double c = 0.0, s = 1.0;
        for (int i = l; i <= k; ++i) {
            const double f = s * rv1_[static_cast<size_t>(i)];
            rv1_[static_cast<size_t>(i)] = c * rv1_[static_cast<size_t>(i)];
            if (Negligible(f)) break;
            const double g = W(i);
            double h = Pythag(f, g);
            W(i) = h;
            h = 1.0 / h;
            c = g * h;
            s = -f * h;
            if (wantU_) uRotations_.push_back({nm, i, c, s});
        }
    }

    // One implicit-shift QR transformation of the block l..k, shift from the bottom 2 x 2 minor.
    void Sweep(int l, int k)
    {
        double x = W(l);
        const int nm = k - 1;
        double y = W(nm);
        double g = rv1_[static_cast<size_t>(nm)];
        double h = rv1_[static_cast<size_t>(k)];
        double z = W(k);
        double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
        g = Pythag(f, 1.0);
        f = ((x - z) * (x + z) + h * ((y / (f + Sign(g, f))) - h)) / x;
        double c = 1.0, s = 1.0;
        for (int j = l; j <= nm; ++j) {
            const int i = j + 1;
            g = rv1_[static_cast<size_t>(i)];
            y = W(i);
            h = s * g;
            g = c * g;
            z = Pythag(f, h);
            rv1_[static_cast<size_t>(j)] = z;
            c = f / z;
            s = h / z;
            f = x * c + g * s;
            g = g * c - x * s;
            h = y * s;
            y *= c;
            vRotations_.push_back({j, i, c, s});
            z = Pythag(f, h);
            W(j) = z;
            // The rotation can be arbitrary when z = 0.
            if (z != 0.0) {
                z = 1.0 / z;
                c = f * z;
                s = h * z;
            }
            f = c * g + s * y;
            x = c * y - s * g;
            if (wantU_) uRotations_.push_back({j, i, c, s});
        }
        rv1_[static_cast<size_t>(l)] = 0.0;
        rv1_[static_cast<size_t>(k)] = f;
        W(k) = x;
    }

    SvdColumns& s_;
    const int m_;
    const int n_;
    const bool wantU_;
    std::vector<double> rv1_;
    double anorm_ = 0.0;
    std::vector<Rotation> uRotations_;
    std::vector<Rotation> vRotations_;
};

// Householder QR of the column-major m x n matrix a: on return its first n rows hold R in the
// upper triangle (the reflectors below it). The columns are taken in panels; the reflectors of a
// panel are applied to each later column in turn while the panel stays in the cache, so every
// column receives the same operations in the same order as with one reflector at a time.
void TriangularFactor(std::vector<double>& a, int m, int n)
{
    constexpr int kPanel = 32;
    std::vector<double> tau(static_cast<size_t>(n), 0.0);
    const auto column = [&a, m](int j) { return a.data() + static_cast<int64_t>(j) * m; };
    const auto reflect = [&](int k, int j) {
        const double* v = column(k);
        double* x = column(j);
        const double s = (x[k] + DotProduct(v, x, k + 1, m)) * tau[static_cast<size_t>(k)];
        x[k] -= s;
        SubtractScaled(x, v, s, k + 1, m);
    };
    for (int p = 0; p < n; p += kPanel) {
        const int e = std::min(n, p + kPanel);
        for (int k = p; k < e; ++k) {
            double* x = column(k);
            const double norm = std::sqrt(DotProduct(x, x, k, m));
            if (norm > 0.0) {
                const double alpha = x[k];
                const double beta = alpha >= 0.0 ? -norm : norm;
                tau[static_cast<size_t>(k)] = (beta - alpha) / beta;
                const double scale = 1.0 / (alpha - beta);
                for (int r = k + 1; r < m; ++r) x[r] *= scale;
                x[k] = beta;
            }
            for (int j = k + 1; j < e; ++j) reflect(k, j);
        }
        // Two columns at a time share the passes over each reflector.
        const auto reflectPair = [&](int k, int j) {
            const double* v = column(k);
            double* x = column(j);
            double* z = column(j + 1);
            double dx = 0.0, dz = 0.0;
            DotProductPair(v, x, z, k + 1, m, dx, dz);
            const double sx = (x[k] + dx) * tau[static_cast<size_t>(k)];
            const double sz = (z[k] + dz) * tau[static_cast<size_t>(k)];
            x[k] -= sx;
            z[k] -= sz;
            SubtractScaledPair(x, z, v, sx, sz, k + 1, m);
        };
        const int pairs = (n - e) / 2;
        SplitRange(1, pairs, static_cast<int64_t>(e - p) * (m - p) * 4, [&](int first, int last) {
            for (int pair = first; pair <= last; ++pair)
                for (int k = p; k < e; ++k) reflectPair(k, e + 2 * (pair - 1));
        });
        if ((n - e) % 2 == 1)
            for (int k = p; k < e; ++k) reflect(k, n - 1);
    }
}

// R of the QR factorisation as an n x n column-major matrix.
std::vector<double> UpperTriangle(const std::vector<double>& a, int m, int n)
{
    std::vector<double> r(static_cast<size_t>(n) * n, 0.0);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i <= j; ++i) r[static_cast<size_t>(j) * n + i] = a[static_cast<size_t>(j) * m + i];
    return r;
}

bool AllFinite(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double x) { return std::isfinite(x); });
}

}  // namespace

double Pythag(double a, double b)
{
    const double absa = std::fabs(a);
    const double absb = std::fabs(b);
    if (absa > absb) return absa * std::sqrt(1.0 + (absb / absa) * (absb / absa));
    return absb == 0.0 ? 0.0 : absb * std::sqrt(1.0 + (absa / absb) * (absa / absb));
}

void SvdDecompose(SvdColumns& s, bool wantU)
{
    const size_t n = static_cast<size_t>(std::max(s.cols, 0));
    s.u.resize(static_cast<size_t>(std::max(s.rows, 0)) * n);
    s.w.assign(n, 0.0);
    s.v.assign(n * n, 0.0);
    // Values that are not finite would defeat every negligibility test and run each singular
    // value through all its sweeps; the decomposition of such a matrix is not defined.
    if (!AllFinite(s.u)) {
        ReportNumericalError("svdcmp: the matrix holds values that are not finite");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        std::fill(s.u.begin(), s.u.end(), nan);
        std::fill(s.w.begin(), s.w.end(), nan);
        std::fill(s.v.begin(), s.v.end(), nan);
        return;
    }
    // The sweeps form squares and products of the bidiagonal elements, which underflow for
    // values near 1e-200 and overflow near 1e200. Scaling by a power of two is exact and leaves
    // every test and rotation of the procedure unchanged, so the work is done at magnitude 1.
    double largest = 0.0;
    for (double x : s.u) largest = std::max(largest, std::fabs(x));
    int exponent = 0;
    if (largest > 0.0) std::frexp(largest, &exponent);
    if (exponent != 0)
        for (double& x : s.u) x = std::ldexp(x, -exponent);
    if (!wantU && s.cols > 0 && s.rows >= 2 * s.cols) {
        // A tall matrix has the singular values and right vectors of its triangular factor R
        // (A = QR with orthogonal Q); decomposing the n x n factor saves most of the work.
        TriangularFactor(s.u, s.rows, s.cols);
        SvdColumns small;
        small.rows = small.cols = s.cols;
        small.u = UpperTriangle(s.u, s.rows, s.cols);
        small.w.assign(s.w.size(), 0.0);
        small.v.assign(s.v.size(), 0.0);
        CGolubReinsch(small, false).Run();
        s.w = std::move(small.w);
        s.v = std::move(small.v);
    } else {
        CGolubReinsch(s, wantU).Run();
    }
    if (exponent != 0)
        for (double& x : s.w) x = std::ldexp(x, exponent);
}

}  // namespace kiv
