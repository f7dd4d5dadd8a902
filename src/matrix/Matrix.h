#pragma once
// CMatrix: the dense matrix of doubles that carries every numeric table of the workbench
// (feature vectors of whole libraries, spectra in vector form, scores and loadings). Indices
// are 1-based; a vector is a 1 x n matrix. Reading outside the shape gives 0, writing outside
// is ignored. Matrix-valued results are returned by value.
//
// Besides the storage operations of CMatrixStorage it has the products used by the
// chemometrics, the plain and the titled matrix text readers, and a row reader for files of
// 4-byte little-endian floats (feature files written as FLOAT).
#include <string>

#include "base/MessageLog.h"
#include "base/TextFile.h"
#include "matrix/MatrixStorage.h"

namespace kiv {

class CMatrixI;

class CMatrix : public CMatrixStorage<double> {
public:
    CMatrix() = default;
    CMatrix(int rows, int cols) : CMatrixStorage(rows, cols) {}
    // Copies carry the elements and the name, never the attached float file.
    CMatrix(const CMatrix& other);
    CMatrix(CMatrix&& other) noexcept = default;
    CMatrix& operator=(const CMatrix& other);
    CMatrix& operator=(CMatrix&& other) noexcept;
    ~CMatrix() override = default;

    // As in CMatrixStorage; they also detach the float file (the file itself stays open until
    // OpenBin, CloseBin or destruction).
    bool Alloc(int rows, int cols);
    bool Resize(int rows, int cols);

    // out becomes 1 x cols holding the row (zeros for an invalid row).
    void GetRow(int row, CMatrix& out) const;
    // out becomes n x m holding the block starting at (r0, c0); cells outside the source are 0.
    void SubMatrix(int r0, int c0, int n, int m, CMatrix& out) const;

    // X * Y^T (X.rows x Y.rows) and X^T * Y (X.cols x Y.cols). A shape mismatch is reported
    // and gives the empty 0 x 0 matrix.
    CMatrix xT(const CMatrix& y) const;
    CMatrix Tx(const CMatrix& y) const;
    // Every column i scaled by v(1, i), or reduced by v(1, i) (column centring).
    CMatrix xCols(const CMatrix& v) const;
    CMatrix SubCols(const CMatrix& v) const;

    // Matrix product; a 1 x 1 operand acts as a scalar.
    CMatrix operator*(const CMatrix& y) const;
    CMatrix operator*(double s) const;
    CMatrix& operator*=(double s);
    CMatrix& operator+=(double s);

    // Join y to the right of / below this matrix. An empty (0 x 0) matrix becomes a copy of y;
    // otherwise a row (column) count mismatch is reported and nothing changes.
    void AppendCols(const CMatrix& y);
    void AppendRows(const CMatrix& y);

    // Largest element of a row. The search starts from the tiny positive 1e-308, so a row with
    // nothing above it yields 1e-308; RowMaxIndex writes the column of each new maximum into col
    // and leaves col alone when no element exceeds 1e-308.
    double RowMax(int row) const;
    double RowMaxIndex(int row, int& col) const;
    // Smallest element of a row; the search starts from 1e308.
    double RowMin(int row) const;
    // Over the whole matrix, with the same start values as RowMax / RowMin.
    double Max() const;
    double Min() const;

    // Plain text matrix: one row per line, numbers separated by anything that cannot start one.
    // The result has as many rows as lines and as many columns as the last line has values.
    // A file that cannot be opened leaves the matrix as it was.
    void LoadText(const std::string& path);
    // Titled matrix file with class numbers: title line, column count, row count, the values
    // row by row, then optionally the class counts. Progress goes to the message log.
    void LoadClassFile(const std::string& path, MessageLog& log, CMatrixI& classes);

    // Row-wise reading of a file of 4-byte floats that has this matrix's column count. The
    // matrix must have its shape before OpenBin (Alloc detaches the file). Elements beyond the
    // end of the file read as 0.
    bool OpenBin(const std::string& path);
    void ReadBinRow(int k);  // row k of the file into row 1
    void ReadBin();  // the whole file, rows x cols floats
    void CloseBin();

private:
    void ReadFloats(double* target, size_t count);
    // Element (j, i) combined with v(1, i) by operation; v must be 1 x cols.
    template <class Operation>
    CMatrix ColumnWise(const CMatrix& v, Operation operation) const;

    FilePtr file_;
    int attached_ = 0;
};

}  // namespace kiv
