#include "statistics/RangeStatistics.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"

namespace kiv {

namespace {

constexpr int kDefaultSteps = 100;
constexpr int kMostSteps = 1000000;
constexpr double kMinimumStart = 999;
constexpr double kMaximumStart = -999;

}  // namespace

ValueRanges TidyRanges(double lower, double upper, int steps)
{
    if (upper < lower) std::swap(lower, upper);
    return {lower, upper, steps < 1 || steps > kMostSteps ? kDefaultSteps : steps};
}

int ValueRanges::Cell(double v) const
{
    if (v <= lower) return 1;
    if (v > upper) return steps + 2;
    // Rounding may put a value at a range boundary one cell off; it never leaves the ranges.
    const double cell = std::ceil((v - lower) / Step()) + 1;
    return static_cast<int>(std::clamp(cell, 2.0, static_cast<double>(steps + 1)));
}

CRangeStatistics::CRangeStatistics(int columns, const ValueRanges& ranges)
    : ranges_(ranges),
      sums_(static_cast<size_t>(std::max(columns, 0))),
      lowest_(sums_.size(), kMinimumStart),
      highest_(sums_.size(), kMaximumStart),
      cells_(1, ranges.steps + 2)
{
}

void CRangeStatistics::Add(std::span<const double> values)
{
    for (size_t m = 0; m < sums_.size(); ++m) {
        const double v = m < values.size() ? values[m] : 0.0;
        const int cell = ranges_.Cell(v);
        cells_.Set(1, cell, cells_.Get(1, cell) + 1);
        if (v <= ranges_.lower) continue;
        sums_[m].Add(v);
        lowest_[m] = std::min(lowest_[m], v);
        highest_[m] = std::max(highest_[m], v);
    }
}

CMatrix CRangeStatistics::Table() const
{
    CMatrix table(static_cast<int>(sums_.size()), 5);
    for (int m = 1; m <= table.Rows(); ++m) {
        const size_t i = static_cast<size_t>(m - 1);
        table.Set(m, 1, sums_[i].n);
        table.Set(m, 2, lowest_[i]);
        table.Set(m, 3, highest_[i]);
        table.Set(m, 4, sums_[i].Mean());
        table.Set(m, 5, sums_[i].Variance());
    }
    return table;
}

std::string CRangeStatistics::Report(const RangeReportWords& words) const
{
    std::string text = Format("%s\n", words.title);
    if (words.lowerLine) text += Format("I>Imin %0.3f\n", ranges_.lower);
    text += Format("%s\n", words.columnHeading);
    const CMatrix table = Table();
    for (int m = 1; m <= table.Rows(); ++m) {
        text += Format("%6d %6d %10.3f %10.3f %10.3f %10.3f\n", m, static_cast<int>(table.Get(m, 1)), table.Get(m, 2),
                       table.Get(m, 3), table.Get(m, 4), table.Get(m, 5));
    }
    text += Format("\n%s\n%s\n", words.rangeTitle, words.rangeHeading);
    const int steps = ranges_.steps;
    text += Format("%6d<=%7.3f %6d\n", 1, ranges_.lower, static_cast<int>(cells_.Get(1, 1)));
    for (int i = 2; i <= steps + 1; ++i) {
        text += Format("%6d  %7.3f %6d\n", i, ranges_.lower + (i - 1) * ranges_.Step(), static_cast<int>(cells_.Get(1, i)));
    }
    text += Format("%6d >%7.3f %6d\n", steps + 2, ranges_.upper, static_cast<int>(cells_.Get(1, steps + 2)));
    return text;
}

}  // namespace kiv
