#pragma once
// CMatrixNumerics: the matrix type most of the system declares. It adds no data to CMatrix;
// the numerical routines (inversion, decompositions, statistics, fits) are its operations.
// Any CMatrix result converts to it implicitly. Messages go through the numerical reporter.
#include <utility>

#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

namespace kiv {

// Basis functions of a least-squares fit, evaluated by their recurrences.
enum class FitBasis {
    Powers,  // 1, x, x^2, ...
    Legendre,  // p_k = ((2k - 3) x p_(k-1) - (k - 2) p_(k-2)) / (k - 1)
    Doubled,  // p_k = 2x p_(k-1) - x p_(k-2) (the second term carries the factor x)
};
// The family code of a fit request: 2 Legendre, 3 the doubled recurrence, anything else powers.
FitBasis FitBasisFromCode(int code);

class CMatrixNumerics : public CMatrix {
public:
    CMatrixNumerics() = default;
    CMatrixNumerics(int rows, int cols) : CMatrix(rows, cols) {}
    CMatrixNumerics(const CMatrix& other) : CMatrix(other) {}
    CMatrixNumerics(CMatrix&& other) noexcept : CMatrix(std::move(other)) {}
    CMatrixNumerics(const CMatrixNumerics&) = default;
    CMatrixNumerics(CMatrixNumerics&&) noexcept = default;
    CMatrixNumerics& operator=(const CMatrixNumerics&) = default;
    CMatrixNumerics& operator=(CMatrixNumerics&&) noexcept = default;
    ~CMatrixNumerics() override = default;

    // The matrix product, the same as operator* (a 1 x 1 operand and a shape mismatch included),
    // cache-blocked and shared over the cores.
    CMatrixNumerics Times(const CMatrix& y) const;
    // X^T Y, the same as Tx (a shape mismatch included), through the blocked product.
    CMatrixNumerics TransposeTimes(const CMatrix& y) const;
    // The transpose (cols x rows).
    CMatrixNumerics Transposed() const;

    // The inverse by Gauss-Jordan elimination with full pivoting (a later element of equal
    // magnitude wins the pivot search). A non-square matrix is reported and returned unchanged;
    // an exactly singular pivot is reported and the elimination goes on.
    CMatrixNumerics Inv() const;

    // A = U diag(w) V^T with U m x n, w 1 x n (non-negative, descending) and V n x n; the columns
    // of U and V follow the order of w.
    void Svd(CMatrixNumerics& u, CMatrixNumerics& w, CMatrixNumerics& v) const;
    // w and V alone (the same values as Svd gives), without forming U.
    void SvdValuesRight(CMatrixNumerics& w, CMatrixNumerics& v) const;

    // n x n for the n columns: mode 2 correlations off the diagonal, other modes covariances;
    // the diagonal holds the sample variances (0 for mode 1).
    CMatrixNumerics CovCor(int mode) const;
    // Mean and sample variance of one row / column (a single value has variance 0).
    void RowStat(int row, double& mean, double& variance) const;
    void ColStat(int col, double& mean, double& variance) const;
    // 1 x cols vectors of the column means and variances.
    void ColMeanVar(CMatrixNumerics& means, CMatrixNumerics& variances) const;

    // Heapsort of flat positions 1..cols (ascending when the flag is non-zero); returns the
    // former position of the value now at each position.
    CMatrixI SortIndex(int ascending);
    // Column i becomes column index(i) of the former matrix (zero column for an invalid index).
    void UseIndexCols(const CMatrixI& index);

    // Weighted least-squares fit y ~ sum_k a_k p_k(x) over m basis functions (x, y, sigma and
    // fitted 1 x n; coefficients 1 x m). Singular values below 1e-20 of the largest are dropped.
    // Fewer points than coefficients is reported and gives zero coefficients.
    static void PolyFit(const CMatrix& x, const CMatrix& y, const CMatrix& sigma, CMatrixNumerics& coefficients,
                        CMatrixNumerics& fitted, int basis, int m);
};

}  // namespace kiv
