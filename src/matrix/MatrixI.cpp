#include "matrix/MatrixI.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Reporter.h"
#include "matrix/HeapSort.h"
#include "matrix/MatrixText.h"
#include "matrix/Random.h"

namespace kiv {

int CMatrixI::Find(int32_t value) const
{
    const int n = std::min(cols_, Count());
    for (int k = 0; k < n; ++k)
        if (data_[static_cast<size_t>(k)] == value) return k + 1;
    return 0;
}

void CMatrixI::StoreRow1(const std::vector<int32_t>& values)
{
    std::string keptName = name;
    if (!Alloc(1, static_cast<int>(values.size()))) return;
    name = keptName;
    std::copy(values.begin(), values.end(), data_.begin());
}

void CMatrixI::InsertSorted(int32_t value)
{
    std::vector<int32_t> set(static_cast<size_t>(cols_));
    for (int k = 1; k <= cols_; ++k) set[static_cast<size_t>(k - 1)] = GetFlat(k);
    auto at = std::find_if(set.begin(), set.end(), [value](int32_t x) { return x >= value; });
    if (at != set.end() && *at == value) return;
    set.insert(at, value);
    StoreRow1(set);
}

void CMatrixI::RemoveValue(int32_t value)
{
    const int position = Find(value);
    if (position == 0) return;
    std::vector<int32_t> set(static_cast<size_t>(cols_));
    for (int k = 1; k <= cols_; ++k) set[static_cast<size_t>(k - 1)] = GetFlat(k);
    set.erase(set.begin() + (position - 1));
    StoreRow1(set);
}

void CMatrixI::ToggleValue(int32_t value)
{
    if (Find(value) > 0)
        RemoveValue(value);
    else
        InsertSorted(value);
}

void CMatrixI::Sort()
{
    HeapSort(data_.data(), nullptr, std::min(cols_, Count()), true);
}

CMatrixI CMatrixI::SortIndex(int ascending)
{
    CMatrixI permutation;
    if (!permutation.Alloc(1, cols_)) return permutation;
    for (int k = 0; k < cols_; ++k) permutation.data_[static_cast<size_t>(k)] = k + 1;
    HeapSort(data_.data(), permutation.data_.data(), std::min(cols_, Count()), ascending != 0);
    return permutation;
}

void CMatrixI::UseIndexCols(const CMatrixI& index)
{
    if (index.cols_ != cols_) {
        ReportNumericalError("CMatrixI UseIndexCols\nMatrix dimensions do not match!");
        return;
    }
    const CMatrixI copy(*this);
    for (int i = 1; i <= cols_; ++i) {
        const int from = index.GetFlat(i);
        for (int r = 1; r <= rows_; ++r) Set(r, i, copy.Get(r, from));
    }
}

void CMatrixI::RandomSubset(int count, int n, int seed)
{
    if (!Alloc(1, std::max(count, 0))) return;
    CRandomPsdes generator;
    generator.SetCounter(static_cast<uint32_t>(seed) * 10000u);
    // The draw takes the j-th element of the pool of numbers not yet drawn (1..n in order).
    // Instead of shifting a pool of n numbers, keep the drawn ones sorted: the j-th remaining
    // number is j moved past every drawn number at or below it. Same result, memory O(count).
    std::vector<int32_t> drawn;
    int64_t poolSize = std::max(n, 0);
    for (int i = 1; i <= count; ++i) {
        const double u = generator.Next();
        if (poolSize == 0) continue;  // more draws than numbers: the rest stays 0
        // u may be exactly 0; the first pool element is then the sound choice.
        int64_t j = static_cast<int64_t>(std::ceil(u * static_cast<double>(poolSize)));
        j = std::clamp<int64_t>(j, 1, poolSize);
        int64_t number = j;
        for (int32_t taken : drawn) {
            if (taken <= number)
                ++number;
            else
                break;
        }
        const int32_t value = static_cast<int32_t>(number);
        drawn.insert(std::upper_bound(drawn.begin(), drawn.end(), value), value);
        data_[static_cast<size_t>(i - 1)] = value;
        --poolSize;
    }
}

void CMatrixI::LoadClassFile(const std::string& path, MessageLog& log, CMatrixI& classes)
{
    LoadTitledMatrix(path, log, *this, classes);
}

}  // namespace kiv
