#include "chemometrics/SelectionRules.h"

#include <algorithm>

namespace kiv {

namespace {

constexpr double kBandBelow = 0.999999999999;
constexpr double kBandAbove = 1.000000000001;

// value lies in the relative band around listed (the band is mirrored for negative values).
bool SameValue(double value, double listed)
{
    const double a = listed * kBandBelow;
    const double b = listed * kBandAbove;
    return value >= std::min(a, b) && value <= std::max(a, b);
}

bool ColumnIsConstant(const CMatrix& x, int col, int n)
{
    struct Entry {
        double value;
        int count;
    };
    std::vector<Entry> entries;
    for (int i = 1; i <= x.Rows(); ++i) {
        const double value = x.Get(i, col);
        auto found = std::find_if(entries.begin(), entries.end(), [value](const Entry& e) { return SameValue(value, e.value); });
        if (found != entries.end()) {
            ++found->count;
            continue;
        }
        if (static_cast<int>(entries.size()) + 1 > n + 1) return false;  // more than n other values
        entries.push_back({value, 1});
    }
    int largest = 0;
    for (const Entry& e : entries) largest = std::max(largest, e.count);
    return x.Rows() - largest <= n;
}

// Positions 1..cols in descending order of the values.
CMatrixI DescendingOrder(const CMatrixNumerics& values)
{
    CMatrixNumerics sorted(values);
    return sorted.SortIndex(0);
}

}  // namespace

ColumnMask ConstantRule(const CMatrix& x, int n)
{
    ColumnMask keep(static_cast<size_t>(x.Cols()), 1);
    for (int j = 1; j <= x.Cols(); ++j) keep[static_cast<size_t>(j - 1)] = ColumnIsConstant(x, j, n) ? 0 : 1;
    return keep;
}

VarianceOption VarianceOptionFromCode(int code)
{
    switch (code) {
    case 0: return VarianceOption::HighestCount;
    case 1: return VarianceOption::AtLeast;
    case 2: return VarianceOption::PercentOfSum;
    default: return VarianceOption::KeepAll;
    }
}

VarianceOutcome VarianceRule(const CMatrixNumerics& variances, VarianceOption option, int n, double v)
{
    const int cols = variances.Cols();
    VarianceOutcome outcome;
    outcome.keep.assign(static_cast<size_t>(cols), 0);
    double total = 0.0;
    for (int j = 1; j <= cols; ++j) total += variances.GetFlat(j);
    const auto keep = [&](int j) { outcome.keep[static_cast<size_t>(j - 1)] = 1; };
    switch (option) {
    case VarianceOption::HighestCount: {
        const CMatrixI order = DescendingOrder(variances);
        const int count = n <= 0 ? cols : std::min(n, cols);
        for (int p = 1; p <= count; ++p) keep(order.GetFlat(p));
        break;
    }
    case VarianceOption::AtLeast:
        for (int j = 1; j <= cols; ++j)
            if (variances.GetFlat(j) >= v) keep(j);
        break;
    case VarianceOption::PercentOfSum: {
        const CMatrixI order = DescendingOrder(variances);
        const double target = v * 0.01 * total;
        double running = 0.0;
        outcome.targetReached = false;
        for (int p = 1; p <= cols; ++p) {
            keep(order.GetFlat(p));
            running += variances.GetFlat(order.GetFlat(p));
            if (running >= target) {
                outcome.targetReached = true;
                break;
            }
        }
        break;
    }
    case VarianceOption::KeepAll: std::fill(outcome.keep.begin(), outcome.keep.end(), 1); break;
    }
    double kept = 0.0;
    for (int j = 1; j <= cols; ++j)
        if (outcome.keep[static_cast<size_t>(j - 1)]) kept += variances.GetFlat(j);
    // Without any variance there is nothing to lose: all of it is kept.
    outcome.percentKept = total > 0.0 ? 100.0 * kept / total : 100.0;
    return outcome;
}

ColumnMask CorrelationRule(const CMatrixNumerics& x, double r)
{
    const int cols = x.Cols();
    ColumnMask keep(static_cast<size_t>(cols), 1);
    const CMatrixNumerics correlation = x.CovCor(2);
    std::vector<double> sums(static_cast<size_t>(cols + 1), 0.0);
    for (int i = 1; i <= cols; ++i) sums[static_cast<size_t>(i)] = correlation.RowSum(i) - correlation.Get(i, i);
    for (int i = 2; i <= cols; ++i) {
        for (int j = 1; j < i; ++j) {
            if (!(correlation.Get(i, j) > r)) continue;
            const int dropped = sums[static_cast<size_t>(i)] > sums[static_cast<size_t>(j)] ? i : j;
            keep[static_cast<size_t>(dropped - 1)] = 0;
        }
    }
    return keep;
}

int KeptCount(const ColumnMask& keep)
{
    return static_cast<int>(std::count(keep.begin(), keep.end(), 1));
}

void KeepColumns(const DataMatrixParts& parts, const ColumnMask& keep)
{
    std::vector<int> kept;
    for (size_t j = 0; j < keep.size(); ++j)
        if (keep[j]) kept.push_back(static_cast<int>(j + 1));
    const int k = static_cast<int>(kept.size());
    const auto reduce = [&](CMatrixNumerics& x) {
        CMatrixNumerics reduced(x.Rows(), k);
        for (int i = 1; i <= x.Rows(); ++i)
            for (int c = 1; c <= k; ++c) reduced.Set(i, c, x.Get(i, kept[static_cast<size_t>(c - 1)]));
        reduced.name = x.name;
        x = std::move(reduced);
    };
    const int before = parts.data.Cols();
    reduce(parts.data);
    if (parts.unknowns.Rows() > 0) reduce(parts.unknowns);
    // An index that does not describe the columns (a matrix read from a file) stays as it is.
    if (parts.columns.Cols() != before) return;
    CMatrixI columns(1, k);
    for (int c = 1; c <= k; ++c) columns.SetFlat(c, parts.columns.GetFlat(kept[static_cast<size_t>(c - 1)]));
    parts.columns = std::move(columns);
}

}  // namespace kiv
