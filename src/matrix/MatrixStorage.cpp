#include "matrix/MatrixStorage.h"

#include <algorithm>
#include <new>

#include "base/Reporter.h"

namespace kiv {

bool MatrixShapeAllowed(int64_t rows, int64_t cols, size_t elementSize)
{
    if (rows < 0 || cols < 0) return false;
    if (rows == 0 || cols == 0) return true;
    if (rows > kMatrixMaxElements / cols) return false;
    const int64_t count = rows * cols;
    return count <= kMatrixMaxBytes / static_cast<int64_t>(elementSize);
}

template <class T>
void CMatrixStorage<T>::ReportAllocationFailure()
{
    ReportNumericalError(MatrixTraits<T>::allocationFailure);
}

template <class T>
bool CMatrixStorage<T>::Alloc(int rows, int cols)
{
    name = " ";
    if (!MatrixShapeAllowed(rows, cols, sizeof(T))) {
        Free();
        name = " ";
        ReportAllocationFailure();
        return false;
    }
    const size_t count = static_cast<size_t>(rows) * static_cast<size_t>(cols);
    try {
        // Reuse the block when it fits without wasting much (block-wise readers and the records
        // of a library allocate similar shapes again and again); otherwise release it first to
        // keep the peak low.
        constexpr size_t kSmallSlack = (size_t(1) << 20) / sizeof(T);
        if (count <= data_.capacity() && (count * 2 >= data_.capacity() || data_.capacity() - count <= kSmallSlack)) {
            data_.assign(count, T{});
        } else {
            std::vector<T>().swap(data_);
            data_.resize(count);
        }
    } catch (const std::bad_alloc&) {
        Free();
        name = " ";
        ReportAllocationFailure();
        return false;
    }
    rows_ = rows;
    cols_ = cols;
    return true;
}

template <class T>
bool CMatrixStorage<T>::Resize(int rows, int cols)
{
    std::vector<T> old;
    old.swap(data_);
    const int oldRows = rows_, oldCols = cols_;
    std::string keptName = name;
    rows_ = cols_ = 0;
    if (!Alloc(rows, cols)) return false;
    name = keptName;
    const int copyRows = std::min(oldRows, rows), copyCols = std::min(oldCols, cols);
    for (int i = 1; i <= copyRows; ++i) {
        const T* from = old.data() + static_cast<size_t>(i - 1) * static_cast<size_t>(oldCols);
        std::copy(from, from + copyCols, data_.data() + Offset(i, 1));
    }
    return true;
}

template <class T>
void CMatrixStorage<T>::Free()
{
    std::vector<T>().swap(data_);
    rows_ = cols_ = 0;
    name = MatrixTraits<T>::freedName;
}

template <class T>
void CMatrixStorage<T>::GetCol(int col, CMatrixStorage& out) const
{
    if (&out == this) {
        CMatrixStorage copy(*this);
        copy.GetCol(col, out);
        return;
    }
    if (!out.Alloc(1, rows_)) return;
    if (col < 1 || col > cols_) return;
    for (int i = 1; i <= rows_; ++i) out.data_[static_cast<size_t>(i - 1)] = data_[Offset(i, col)];
}

template <class T>
void CMatrixStorage<T>::SetCol(int col, const CMatrixStorage& vector)
{
    if (col < 1 || col > cols_) return;
    const int n = std::min(vector.Count(), rows_);
    for (int i = 1; i <= n; ++i) data_[Offset(i, col)] = vector.data_[static_cast<size_t>(i - 1)];
}

template <class T>
void CMatrixStorage<T>::Fill(T value)
{
    std::fill(data_.begin(), data_.end(), value);
}

template <class T>
typename CMatrixStorage<T>::SumType CMatrixStorage<T>::RowSum(int row) const
{
    SumType sum{};
    if (row < 1 || row > rows_) return sum;
    for (int j = 1; j <= cols_; ++j) sum += data_[Offset(row, j)];
    return sum;
}

template <class T>
typename CMatrixStorage<T>::SumType CMatrixStorage<T>::Sum() const
{
    SumType sum{};
    for (const T& value : data_) sum += value;
    return sum;
}

template class CMatrixStorage<double>;
template class CMatrixStorage<int32_t>;

}  // namespace kiv
