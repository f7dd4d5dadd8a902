#pragma once
// CMatrixI: the dense matrix of 32-bit integers used for class numbers, index lists, selected
// feature sets and permutations. Same 1-based storage rules as CMatrix. The set operations
// treat row 1 as a vector of length cols.
#include <cstdint>
#include <string>

#include "base/MessageLog.h"
#include "matrix/MatrixStorage.h"

namespace kiv {

class CMatrixI : public CMatrixStorage<int32_t> {
public:
    CMatrixI() = default;
    CMatrixI(int rows, int cols) : CMatrixStorage(rows, cols) {}
    CMatrixI(const CMatrixI&) = default;
    CMatrixI(CMatrixI&&) noexcept = default;
    CMatrixI& operator=(const CMatrixI&) = default;
    CMatrixI& operator=(CMatrixI&&) noexcept = default;
    ~CMatrixI() override = default;

    // Flat position (1..cols) of the first element equal to value, 0 if none.
    int Find(int32_t value) const;
    // Row 1 is an ascending set without duplicates: insert value in order (nothing happens when
    // it is already present). An empty matrix becomes 1 x 1.
    void InsertSorted(int32_t value);
    // Removes value from the set (the matrix loses a column); nothing when absent.
    void RemoveValue(int32_t value);
    // Click-to-select: removes a present value, inserts an absent one.
    void ToggleValue(int32_t value);

    // Ascending heapsort of positions 1..cols in place.
    void Sort();
    // Heapsort of positions 1..cols (ascending when the flag is non-zero, else descending);
    // returns the 1 x cols permutation: element p is the former position of the value now at p.
    CMatrixI SortIndex(int ascending);

    // Column i becomes column index(i) of the former matrix (a zero column for an invalid
    // index). index must be 1 x cols, else the mismatch is reported and nothing changes.
    void UseIndexCols(const CMatrixI& index);

    // Becomes 1 x count holding count distinct numbers drawn from 1..n, reproducibly from seed.
    void RandomSubset(int count, int n, int seed);

    // The integer twin of CMatrix::LoadClassFile (lines of at most 256 characters, integer
    // data values, unclassified objects get class 6).
    void LoadClassFile(const std::string& path, MessageLog& log, CMatrixI& classes);

private:
    void StoreRow1(const std::vector<int32_t>& values);
};

}  // namespace kiv
