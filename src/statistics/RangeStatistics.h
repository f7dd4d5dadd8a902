#pragma once
// Value distributions over many vectors (a library's spectra, or its feature vectors): per
// column the count, min, max, mean and variance of the values above a lower limit, and one
// histogram of all values over equal ranges between the limits.
#include <span>
#include <string>

#include "matrix/Matrix.h"
#include "statistics/StatisticsWalk.h"

namespace kiv {

// The limits as the user gave them, tidied: swapped when upper < lower; a step count below 1 (or
// above a million, which no report could show) becomes 100.
struct ValueRanges {
    double lower = 0;
    double upper = 100;
    int steps = 100;

    double Step() const { return (upper - lower) / steps; }
    // Cell of a value: 1 at or below lower, steps + 2 above upper, else ceil((v - lower) / step) + 1.
    int Cell(double v) const;
};
ValueRanges TidyRanges(double lower, double upper, int steps);

// The labels of one kind of statistic ("Mass Statistic" or "Feature Statistic" and the words of
// its report).
struct RangeReportWords {
    const char* title;  // "Mass Statistic"
    bool lowerLine;  // the line "I>Imin %0.3f" follows the title
    const char* columnHeading;  // "  mass     no        min ..."
    const char* rangeTitle;  // "Intensity Statistic"
    const char* rangeHeading;  // "Irange <=I   no masses"
};

class CRangeStatistics {
public:
    CRangeStatistics(int columns, const ValueRanges& ranges);
    // Adds the values of columns 1..columns (values beyond the end of the vector count as 0).
    void Add(std::span<const double> values);
    // columns x 5: count, min (999 where none), max (-999 where none), mean, variance.
    CMatrix Table() const;
    // 1 x (steps + 2): the histogram cells.
    const CMatrix& Cells() const { return cells_; }
    std::string Report(const RangeReportWords& words) const;

private:
    ValueRanges ranges_;
    std::vector<SampleSums> sums_;
    std::vector<double> lowest_;
    std::vector<double> highest_;
    CMatrix cells_;
};

}  // namespace kiv
