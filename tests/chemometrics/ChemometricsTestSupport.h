#pragma once
// Small data matrices for the chemometrics tests.
#include <initializer_list>

#include "chemometrics/DataSet.h"

namespace kiv::test {

inline CMatrixNumerics Rows(std::initializer_list<std::initializer_list<double>> rows)
{
    CMatrixNumerics m(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (double v : row) m.Set(i, j++, v);
        ++i;
    }
    return m;
}

// 1..count as a column index.
inline CMatrixI Sequence(int count)
{
    CMatrixI index(1, count);
    for (int k = 1; k <= count; ++k) index.SetFlat(k, k);
    return index;
}

}  // namespace kiv::test
