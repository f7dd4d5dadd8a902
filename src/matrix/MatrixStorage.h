#pragma once
// The storage shared by the real and the integer matrix: one contiguous row-major block with
// 1-based access by (row, column) and by flat position, where reading outside the shape gives 0
// and writing outside is ignored (callers rely on both, e.g. reading past a vector's end).
//
// Size limits. A matrix holds at most 2^31 - 1 elements (the flat position is a 32-bit int) and
// at most 8 GiB of element storage. A shape beyond either limit, or a negative shape, is refused
// before anything is allocated: the allocation failure is reported and the matrix is left 0 x 0.
// That keeps a damaged file header from asking for absurd amounts of memory.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace kiv {

// A 1-based window on consecutive elements: a row of a matrix, or the whole block (flat view).
// view[j] is column j (or flat position j). Cheap to copy; valid until the next allocation.
template <class T>
class CMatrixRow {
public:
    CMatrixRow() = default;
    CMatrixRow(T* first, int count) : first_(first), count_(count) {}

    T& operator[](int j) const { return first_[j - 1]; }
    int size() const { return count_; }
    T* data() const { return first_; }  // 0-based start
    T* begin() const { return first_; }
    T* end() const { return first_ + count_; }

private:
    T* first_ = nullptr;
    int count_ = 0;
};

// Largest number of elements and of bytes one matrix may hold.
inline constexpr int64_t kMatrixMaxElements = INT32_MAX;
inline constexpr int64_t kMatrixMaxBytes = int64_t(8) << 30;

// True when rows x cols elements of elementSize bytes are within the limits above.
bool MatrixShapeAllowed(int64_t rows, int64_t cols, size_t elementSize);

template <class T>
struct MatrixTraits;

template <>
struct MatrixTraits<double> {
    static constexpr const char* allocationFailure = "allocation failure 2 in matrix()";
    static constexpr const char* freedName = " ";
};

template <>
struct MatrixTraits<int32_t> {
    static constexpr const char* allocationFailure = "allocation failure 2 in MatrixI()";
    static constexpr const char* freedName = "";
};

template <class T>
class CMatrixStorage {
public:
    using Element = T;
    // Sums of integer matrices are taken in 64 bits so that they cannot overflow.
    using SumType = std::conditional_t<std::is_integral_v<T>, int64_t, T>;

    virtual ~CMatrixStorage() = default;

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    int Count() const { return static_cast<int>(data_.size()); }  // rows * cols
    bool IsEmpty() const { return data_.empty(); }

    // Releases the old storage, sets the shape, resets the name to " " and fills with 0.
    // 0 x n and n x 0 are allowed (no elements). Returns false (after reporting the allocation
    // failure; the matrix is then 0 x 0) when the shape is refused or memory is exhausted.
    bool Alloc(int rows, int cols);
    // New shape keeping the name and the overlapping elements; new cells are 0.
    bool Resize(int rows, int cols);
    // Releases the storage: 0 x 0, name " " (real) or "" (integer).
    void Free();

    T Get(int row, int col) const
    {
        if (row < 1 || row > rows_ || col < 1 || col > cols_) return T{};
        return data_[Offset(row, col)];
    }
    void Set(int row, int col, T value)
    {
        if (row < 1 || row > rows_ || col < 1 || col > cols_) return;
        data_[Offset(row, col)] = value;
    }
    T GetFlat(int k) const
    {
        if (k < 1 || k > Count()) return T{};
        return data_[static_cast<size_t>(k - 1)];
    }
    void SetFlat(int k, T value)
    {
        if (k < 1 || k > Count()) return;
        data_[static_cast<size_t>(k - 1)] = value;
    }

    // out becomes 1 x rows holding column col (zeros for an invalid column).
    void GetCol(int col, CMatrixStorage& out) const;
    // Element (i, col) = the vector's flat element i, for i = 1..min(vector's elements, rows).
    void SetCol(int col, const CMatrixStorage& vector);
    void Fill(T value);
    SumType RowSum(int row) const;
    SumType Sum() const;

    // Direct access for the numerical routines; row must lie in 1..rows.
    CMatrixRow<T> Row(int row) { return {data_.data() + Offset(row, 1), cols_}; }
    CMatrixRow<const T> Row(int row) const { return {data_.data() + Offset(row, 1), cols_}; }
    CMatrixRow<T> Flat() { return {data_.data(), Count()}; }
    CMatrixRow<const T> Flat() const { return {data_.data(), Count()}; }
    T* Data() { return data_.data(); }
    const T* Data() const { return data_.data(); }

    // Reports this element type's allocation failure message through ReportNumericalError.
    static void ReportAllocationFailure();

    // The matrix title (a file's title line, a feature name, ...).
    std::string name = " ";

protected:
    CMatrixStorage() = default;
    CMatrixStorage(int rows, int cols) { Alloc(rows, cols); }
    CMatrixStorage(const CMatrixStorage&) = default;
    CMatrixStorage(CMatrixStorage&&) noexcept = default;
    CMatrixStorage& operator=(const CMatrixStorage&) = default;
    CMatrixStorage& operator=(CMatrixStorage&&) noexcept = default;

    size_t Offset(int row, int col) const
    {
        return static_cast<size_t>(row - 1) * static_cast<size_t>(cols_) + static_cast<size_t>(col - 1);
    }

    int cols_ = 0;
    int rows_ = 0;
    std::vector<T> data_;
};

extern template class CMatrixStorage<double>;
extern template class CMatrixStorage<int32_t>;

}  // namespace kiv
