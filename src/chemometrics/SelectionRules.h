#pragma once
// The rules of the feature selection, apart from prompts and messages: which columns of a data
// matrix survive a constancy, variance or correlation test, and the rebuilding of the matrix,
// its unknowns and its column index with the survivors.
#include <vector>

#include "chemometrics/DataSet.h"

namespace kiv {

// One flag per column, 1 = keep.
using ColumnMask = std::vector<char>;

// Constant columns: a column goes when all but at most n of its values are equal (equal: within
// a relative band of 1e-12 around a value seen before; 0 equals only 0). n >= 0.
ColumnMask ConstantRule(const CMatrix& x, int n);

// The variance options: 0 the n columns of highest variance, 1 every column of variance v or
// higher, 2 the columns of highest variance until their sum reaches v percent of the total;
// any other code keeps every column.
enum class VarianceOption { HighestCount, AtLeast, PercentOfSum, KeepAll };
VarianceOption VarianceOptionFromCode(int code);

struct VarianceOutcome {
    ColumnMask keep;
    double percentKept = 0;  // 100 * kept variance / total variance (100 when the total is 0)
    bool targetReached = true;  // PercentOfSum: false when every column was needed and fell short
};
// variances: 1 x cols. Option HighestCount with n of 0 or below keeps every column; ties of the
// descending order fall as the heapsort leaves them.
VarianceOutcome VarianceRule(const CMatrixNumerics& variances, VarianceOption option, int n, double v);

// Correlated pairs: for each pair i > j (in that order, dropped columns included) whose
// correlation exceeds r, the one of the two with the larger sum of correlations to all other
// columns goes (column j on equal sums).
ColumnMask CorrelationRule(const CMatrixNumerics& x, double r);

int KeptCount(const ColumnMask& keep);
// Keeps the flagged columns of the matrix, of its unknowns (when they have rows) and of its
// column index, in their present order.
void KeepColumns(const DataMatrixParts& parts, const ColumnMask& keep);

}  // namespace kiv
