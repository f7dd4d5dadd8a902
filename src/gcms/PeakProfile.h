#pragma once
// The peak shape of a chromatographic peak, taken from the ion chromatograms of the masses that
// peak at its apex scan. Each mass's chromatogram over the scan offsets -w..+w is scaled so that
// the apex is 100 and cut where it starts rising again (a neighbouring compound); the statistics
// over the masses give the peak's general shape.
//
// The statistics matrix ("profile") is 5 x (2w + 1), column w + 1 being the apex: row 1 mean,
// 2 count, 3 minimum, 4 maximum, 5 standard deviation of the scaled shapes.
#include <vector>

#include "library/RunData.h"
#include "matrix/Matrix.h"

namespace kiv {

// One mass's scaled, cut shape at offsets -w..+w (values[w] is the apex, 100) and how many
// offsets on each side remained uncut (the apex's direct neighbours always count).
struct MassShape {
    int mass = 0;
    std::vector<double> values;
    int left = 0;
    int right = 0;
};

// The shape of mass m around the apex scan; nothing (no values) when the apex holds no intensity.
MassShape ScaledMassShape(const CRunData& run, int apex, int mass, int w);

// The empty statistics: rows 1, 2, 4, 5 zero, row 3 (minimum) 1e20.
CMatrix StartPeakProfile(int w);
// Adds a shape of 2w + 1 values; "PP not initilized!" when the matrix is not a 5-row statistics
// matrix of that width.
bool AddToPeakProfile(CMatrix& profile, const MassShape& shape);
// Turns the sums into mean and standard deviation (0 for a single shape); offsets without any
// shape get minimum 0.
void FinishPeakProfile(CMatrix& profile);

}  // namespace kiv
