#include "matrix/MatrixNumerics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Format.h"
#include "base/Parallel.h"
#include "base/Reporter.h"
#include "matrix/HeapSort.h"
#include "matrix/Svd.h"
#include "matrix/VectorKernels.h"

namespace kiv {

namespace {

// Singular values below this fraction of the largest one carry no information in a fit.
constexpr double kFitSingularThreshold = 1e-20;
// A product of standard deviations at or below this gives a correlation of 0.
constexpr double kCorrelationFloor = 1e-12;

// Mean and corrected two-pass sample variance of count values at stride apart.
void Statistics(const double* values, int count, size_t stride, double& mean, double& variance)
{
    mean = 0.0;
    variance = 0.0;
    if (count < 1) return;
    double sum = 0.0;
    for (int i = 0; i < count; ++i) sum += values[i * stride];
    mean = sum / count;
    if (count < 2) return;
    double squares = 0.0, deviations = 0.0;
    for (int i = 0; i < count; ++i) {
        const double d = values[i * stride] - mean;
        squares += d * d;
        deviations += d;
    }
    variance = (squares - deviations * deviations / count) / (count - 1);
}

// Column-major copy of a row-major matrix (the decomposition's storage).
SvdColumns ToColumns(const CMatrix& a)
{
    SvdColumns s;
    s.rows = a.Rows();
    s.cols = a.Cols();
    s.u.resize(static_cast<size_t>(s.rows) * static_cast<size_t>(s.cols));
    for (int i = 1; i <= s.rows; ++i) {
        const auto row = a.Row(i);
        for (int j = 1; j <= s.cols; ++j) s.u[static_cast<size_t>(j - 1) * s.rows + (i - 1)] = row[j];
    }
    return s;
}

// out = the rows x cols column-major matrix with its columns taken in the order of order.
void FromColumns(const std::vector<double>& x, int rows, int cols, const CMatrixI& order, CMatrix& out)
{
    if (!out.Alloc(rows, cols)) return;
    for (int j = 1; j <= cols; ++j) {
        const int from = order.GetFlat(j);
        const double* column = x.data() + static_cast<size_t>(from - 1) * rows;
        for (int i = 1; i <= rows; ++i) out.Row(i)[j] = column[i - 1];
    }
}

// The singular values in descending order (heapsort ties) and the permutation that got there.
CMatrixI SortSingularValues(const std::vector<double>& values, CMatrixNumerics& w)
{
    w.Alloc(1, static_cast<int>(values.size()));
    std::copy(values.begin(), values.end(), w.Data());
    return w.SortIndex(0);
}

// p[0..m-1] = the basis functions at x.
void EvaluateBasis(FitBasis basis, double x, int m, std::vector<double>& p)
{
    p.assign(static_cast<size_t>(std::max(m, 0)), 0.0);
    if (m < 1) return;
    p[0] = 1.0;
    if (basis == FitBasis::Powers) {
        for (int k = 1; k < m; ++k) p[static_cast<size_t>(k)] = x * p[static_cast<size_t>(k - 1)];
        return;
    }
    if (m > 1) p[1] = x;
    for (int k = 3; k <= m; ++k) {
        const double p1 = p[static_cast<size_t>(k - 2)];
        const double p2 = p[static_cast<size_t>(k - 3)];
        p[static_cast<size_t>(k - 1)] = basis == FitBasis::Legendre
                                            ? ((2.0 * k - 3.0) * x * p1 - (k - 2.0) * p2) / (k - 1.0)
                                            : 2.0 * x * p1 - x * p2;
    }
}

// The product A y with A(i, j) = a[(i - 1) * rowStep + (j - 1) * colStep] (rows x inner), in
// blocks of y small enough to stay in the cache while a band of rows passes over them, with
// four-by-eight tiles of the result held in registers. Each element still gathers its terms in
// the order j = 1, 2, ..., as the plain products do; bands of rows go to both cores. The columns
// of y are padded with zeros to whole tiles (a zero term leaves a finite sum unchanged; the
// padding columns are dropped).
CMatrixNumerics BlockedProduct(const double* a, int rowStep, int colStep, int rows, int inner, const CMatrix& y)
{
    constexpr int kInner = 128, kOuter = 256;
    const int n = y.Cols();
    const int padded = (n + kTileCols - 1) / kTileCols * kTileCols;
    std::vector<double> right(static_cast<size_t>(inner) * padded, 0.0);
    for (int j = 1; j <= inner; ++j) std::copy_n(y.Row(j).data(), n, right.data() + static_cast<size_t>(j - 1) * padded);
    std::vector<double> product(static_cast<size_t>(rows) * padded, 0.0);
    const auto rowStart = [&](int i) { return a + static_cast<ptrdiff_t>(i) * rowStep; };
    const auto outRow = [&](int i) { return product.data() + static_cast<size_t>(i) * padded; };
    ParallelFor(rows, [&](int begin, int end) {
        for (int j0 = 0; j0 < inner; j0 += kInner) {
            const int j1 = std::min(inner, j0 + kInner);
            for (int k0 = 0; k0 < padded; k0 += kOuter) {
                const int k1 = std::min(padded, k0 + kOuter);
                int i = begin;
                for (; i + kTileRows <= end; i += kTileRows) {
                    double* out[kTileRows];
                    const double* left[kTileRows];
                    for (int r = 0; r < kTileRows; ++r) {
                        out[r] = outRow(i + r);
                        left[r] = rowStart(i + r);
                    }
                    for (int k = k0; k < k1; k += kTileCols) AccumulateTile(out, left, colStep, right.data(), padded, j0, j1, k);
                }
                for (; i < end; ++i) AccumulateRowBlock(outRow(i), rowStart(i), colStep, right.data(), padded, j0, j1, k0, k1);
            }
        }
    });
    CMatrixNumerics result(rows, n);
    for (int i = 1; i <= rows; ++i) std::copy_n(outRow(i - 1), n, result.Row(i).data());
    return result;
}

}  // namespace

FitBasis FitBasisFromCode(int code)
{
    switch (code) {
    case 2: return FitBasis::Legendre;
    case 3: return FitBasis::Doubled;
    default: return FitBasis::Powers;
    }
}

CMatrixNumerics CMatrixNumerics::TransposeTimes(const CMatrix& y) const
{
    if (rows_ != y.Rows() || rows_ < 2 || y.Cols() < 1) return Tx(y);
    // Row i of X^T is column i of X: one element every cols_ places.
    return BlockedProduct(Data(), 1, cols_, cols_, rows_, y);
}

CMatrixNumerics CMatrixNumerics::Transposed() const
{
    CMatrixNumerics t(cols_, rows_);
    constexpr int kBlock = 64;
    for (int i0 = 1; i0 <= rows_; i0 += kBlock)
        for (int j0 = 1; j0 <= cols_; j0 += kBlock)
            for (int i = i0; i <= std::min(rows_, i0 + kBlock - 1); ++i)
                for (int j = j0; j <= std::min(cols_, j0 + kBlock - 1); ++j) t.Row(j)[i] = Row(i)[j];
    return t;
}

CMatrixNumerics CMatrixNumerics::Inv() const
{
    CMatrixNumerics a(*this);
    if (rows_ != cols_) {
        ReportNumericalError("CMatrixNumerics Inv\nMatrix dimensions do not match!");
        return a;
    }
    const int n = rows_;
    std::vector<int> pivotCount(static_cast<size_t>(n + 1), 0), pivotRow(static_cast<size_t>(n + 1)),
        pivotCol(static_cast<size_t>(n + 1));
    auto at = [&a](int i, int j) -> double& { return a.Row(i)[j]; };
    for (int pass = 1; pass <= n; ++pass) {
        // Largest remaining magnitude; a later equal one wins. A remaining block of NaN has no
        // largest element: its first cell is taken, so the NaN spreads instead of an index
        // running wild.
        double big = 0.0;
        int irow = 0, icol = 0;
        for (int j = 1; j <= n; ++j) {
            if (pivotCount[static_cast<size_t>(j)] == 1) continue;
            for (int k = 1; k <= n; ++k) {
                if (pivotCount[static_cast<size_t>(k)] != 0) continue;
                if (irow == 0) irow = j, icol = k;
                if (std::fabs(at(j, k)) >= big) {
                    big = std::fabs(at(j, k));
                    irow = j;
                    icol = k;
                }
            }
        }
        ++pivotCount[static_cast<size_t>(icol)];
        if (irow != icol)
            for (int l = 1; l <= n; ++l) std::swap(at(irow, l), at(icol, l));
        pivotRow[static_cast<size_t>(pass)] = irow;
        pivotCol[static_cast<size_t>(pass)] = icol;
        if (at(icol, icol) == 0.0) ReportNumericalError("gaussj: Singular Matrix");
        const double pivotInverse = 1.0 / at(icol, icol);
        at(icol, icol) = 1.0;
        for (int l = 1; l <= n; ++l) at(icol, l) *= pivotInverse;
        for (int ll = 1; ll <= n; ++ll) {
            if (ll == icol) continue;
            const double factor = at(ll, icol);
            at(ll, icol) = 0.0;
            for (int l = 1; l <= n; ++l) at(ll, l) -= at(icol, l) * factor;
        }
    }
    for (int l = n; l >= 1; --l) {
        const int r = pivotRow[static_cast<size_t>(l)];
        const int c = pivotCol[static_cast<size_t>(l)];
        if (r != c)
            for (int k = 1; k <= n; ++k) std::swap(at(k, r), at(k, c));
    }
    return a;
}

void CMatrixNumerics::Svd(CMatrixNumerics& u, CMatrixNumerics& w, CMatrixNumerics& v) const
{
    SvdColumns s = ToColumns(*this);
    SvdDecompose(s, true);
    const CMatrixI order = SortSingularValues(s.w, w);
    FromColumns(s.u, s.rows, s.cols, order, u);
    FromColumns(s.v, s.cols, s.cols, order, v);
}

void CMatrixNumerics::SvdValuesRight(CMatrixNumerics& w, CMatrixNumerics& v) const
{
    SvdColumns s = ToColumns(*this);
    SvdDecompose(s, false);
    const CMatrixI order = SortSingularValues(s.w, w);
    FromColumns(s.v, s.cols, s.cols, order, v);
}

CMatrixNumerics CMatrixNumerics::CovCor(int mode) const
{
    CMatrixNumerics result(cols_, cols_);
    const int m = rows_;
    const int n = cols_;
    if (m < 2 || n < 1) return result;  // one object has no spread: everything 0
    // Centred columns, each contiguous.
    std::vector<double> x(static_cast<size_t>(m) * n);
    for (int j = 0; j < n; ++j) {
        double sum = 0.0;
        for (int i = 1; i <= m; ++i) sum += Get(i, j + 1);
        const double mean = sum / m;
        for (int i = 1; i <= m; ++i) x[static_cast<size_t>(j) * m + (i - 1)] = Get(i, j + 1) - mean;
    }
    auto column = [&x, m](int j) { return x.data() + static_cast<size_t>(j - 1) * m; };
    auto dot = [m](const double* a, const double* b) {
        double sum = 0.0;
        for (int k = 0; k < m; ++k) sum += a[k] * b[k];
        return sum;
    };
    std::vector<double> variance(static_cast<size_t>(n + 1));
    for (int i = 1; i <= n; ++i) variance[static_cast<size_t>(i)] = dot(column(i), column(i)) / (m - 1);
    ParallelFor(n, [&](int begin, int end) {
        for (int i = begin + 1; i <= end; ++i) {
            if (mode != 1) result.Row(i)[i] = variance[static_cast<size_t>(i)];
            for (int k = i + 1; k <= n; ++k) {
                double value = dot(column(i), column(k)) / (m - 1);
                if (mode == 2) {
                    const double root = std::sqrt(variance[static_cast<size_t>(i)] * variance[static_cast<size_t>(k)]);
                    value = root <= kCorrelationFloor ? 0.0 : value / root;
                }
                result.Row(i)[k] = value;
            }
        }
    });
    for (int i = 1; i <= n; ++i)
        for (int k = i + 1; k <= n; ++k) result.Row(k)[i] = result.Row(i)[k];
    return result;
}

void CMatrixNumerics::RowStat(int row, double& mean, double& variance) const
{
    if (row < 1 || row > rows_) {
        mean = variance = 0.0;
        return;
    }
    Statistics(Row(row).data(), cols_, 1, mean, variance);
}

void CMatrixNumerics::ColStat(int col, double& mean, double& variance) const
{
    if (col < 1 || col > cols_ || rows_ < 1) {
        mean = variance = 0.0;
        return;
    }
    Statistics(Data() + (col - 1), rows_, static_cast<size_t>(cols_), mean, variance);
}

void CMatrixNumerics::ColMeanVar(CMatrixNumerics& means, CMatrixNumerics& variances) const
{
    // The sums of ColStat for every column at once, row by row (same order of addition per
    // column, so the same results, without striding through the storage column by column).
    means.Alloc(1, cols_);
    variances.Alloc(1, cols_);
    if (rows_ < 1) return;
    const size_t n = static_cast<size_t>(cols_);
    std::vector<double> sum(n, 0.0), squares(n, 0.0), deviations(n, 0.0);
    for (int i = 1; i <= rows_; ++i) {
        const double* row = Row(i).data();
        for (size_t j = 0; j < n; ++j) sum[j] += row[j];
    }
    for (size_t j = 0; j < n; ++j) sum[j] /= rows_;
    if (rows_ >= 2) {
        for (int i = 1; i <= rows_; ++i) {
            const double* row = Row(i).data();
            for (size_t j = 0; j < n; ++j) {
                const double d = row[j] - sum[j];
                squares[j] += d * d;
                deviations[j] += d;
            }
        }
    }
    for (size_t j = 0; j < n; ++j) {
        means.Data()[j] = sum[j];
        if (rows_ >= 2) variances.Data()[j] = (squares[j] - deviations[j] * deviations[j] / rows_) / (rows_ - 1);
    }
}

CMatrixNumerics CMatrixNumerics::Times(const CMatrix& y) const
{
    if (cols_ != y.Rows() || y.Cols() == 1 || cols_ == 1) return *this * y;
    return BlockedProduct(Data(), cols_, 1, rows_, cols_, y);
}

CMatrixI CMatrixNumerics::SortIndex(int ascending)
{
    CMatrixI permutation;
    if (!permutation.Alloc(1, cols_)) return permutation;
    for (int k = 1; k <= cols_; ++k) permutation.SetFlat(k, k);
    HeapSort(data_.data(), permutation.Data(), std::min(cols_, Count()), ascending != 0);
    return permutation;
}

void CMatrixNumerics::UseIndexCols(const CMatrixI& index)
{
    if (index.Cols() != cols_) {
        ReportNumericalError("CMatrixNumerics UseIndexCols\nMatrix dimensions do not match!");
        return;
    }
    const CMatrix copy(*this);
    for (int i = 1; i <= cols_; ++i) {
        const int from = index.GetFlat(i);
        for (int r = 1; r <= rows_; ++r) Set(r, i, copy.Get(r, from));
    }
}

void CMatrixNumerics::PolyFit(const CMatrix& x, const CMatrix& y, const CMatrix& sigma,
                              CMatrixNumerics& coefficients, CMatrixNumerics& fitted, int basis, int m)
{
    const int n = x.Cols();
    const FitBasis family = FitBasisFromCode(basis);
    coefficients.Alloc(1, std::max(m, 0));
    fitted.Alloc(1, n);
    if (m < 1) return;
    if (n < m) {
        ReportNumericalError(Format("Not enough points for %d coefficients", m));
        return;
    }
    // Design matrix and right-hand side, both divided by the point's sigma.
    SvdColumns s;
    s.rows = n;
    s.cols = m;
    s.u.resize(static_cast<size_t>(n) * m);
    std::vector<double> b(static_cast<size_t>(n)), p;
    for (int i = 1; i <= n; ++i) {
        EvaluateBasis(family, x.GetFlat(i), m, p);
        const double weight = 1.0 / sigma.GetFlat(i);
        for (int k = 1; k <= m; ++k) s.u[static_cast<size_t>(k - 1) * n + (i - 1)] = p[static_cast<size_t>(k - 1)] * weight;
        b[static_cast<size_t>(i - 1)] = y.GetFlat(i) * weight;
    }
    SvdDecompose(s, true);
    const double largest = *std::max_element(s.w.begin(), s.w.end());
    const double threshold = kFitSingularThreshold * largest;
    // Back-substitution through the decomposition, skipping the dropped singular values.
    std::vector<double> t(static_cast<size_t>(m), 0.0);
    for (int k = 1; k <= m; ++k) {
        const double wk = s.w[static_cast<size_t>(k - 1)];
        if (wk < threshold || wk == 0.0) continue;
        const double* uk = s.u.data() + static_cast<size_t>(k - 1) * n;
        double sum = 0.0;
        for (int i = 0; i < n; ++i) sum += uk[i] * b[static_cast<size_t>(i)];
        t[static_cast<size_t>(k - 1)] = sum / wk;
    }
    for (int j = 1; j <= m; ++j) {
        double sum = 0.0;
        for (int k = 1; k <= m; ++k) sum += s.v[static_cast<size_t>(k - 1) * m + (j - 1)] * t[static_cast<size_t>(k - 1)];
        coefficients.SetFlat(j, sum);
    }
    for (int i = 1; i <= n; ++i) {
        EvaluateBasis(family, x.GetFlat(i), m, p);
        double sum = 0.0;
        for (int k = 1; k <= m; ++k) sum += coefficients.GetFlat(k) * p[static_cast<size_t>(k - 1)];
        fitted.SetFlat(i, sum);
    }
}

}  // namespace kiv
