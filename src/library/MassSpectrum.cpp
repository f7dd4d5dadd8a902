#include "library/MassSpectrum.h"

#include <algorithm>
#include <cmath>

#include "base/BinaryIO.h"

namespace kiv {

namespace {

constexpr double kTiny = 1e-308;  // the largest-value search starts here, as RowMax does

// The largest of n values above kTiny and the 1-based position of its first occurrence (0 when
// none exceeds kTiny). Four running maxima keep the comparisons independent of each other; NaN
// never wins, as with a plain "greater than" scan.
double Largest(const double* values, int n, int& position)
{
    double m0 = kTiny, m1 = kTiny, m2 = kTiny, m3 = kTiny;
    int j = 0;
    for (; j + 4 <= n; j += 4) {
        m0 = values[j] > m0 ? values[j] : m0;
        m1 = values[j + 1] > m1 ? values[j + 1] : m1;
        m2 = values[j + 2] > m2 ? values[j + 2] : m2;
        m3 = values[j + 3] > m3 ? values[j + 3] : m3;
    }
    for (; j < n; ++j) m0 = values[j] > m0 ? values[j] : m0;
    const double largest = std::max(std::max(m0, m1), std::max(m2, m3));
    position = 0;
    if (largest > kTiny) {
        for (j = 0; j < n; ++j) {
            if (values[j] == largest) {
                position = j + 1;
                break;
            }
        }
    }
    return largest;
}

}  // namespace

int NominalMass(double mass) { return TruncToInt32(std::floor(mass + 0.3)); }

void CMassSpectrum::Clear()
{
    empty = 1;
    isVector = 0;
    nbyte = 2;
    ndec = 1;
    count = 0;
    peaks.Free();
    firstMass = 0;
    lastMass = 0;
    vector.Free();
    basePeakMass = 0;
    basePeakIntensity = 0;
    tic = 0;
    retentionTime = 0;
    retentionIndex = 0;
    quality = 0;
    comment.clear();
}

void CMassSpectrum::Normalise()
{
    // The intensities live in row 1 of the vector or row 2 of the peak list.
    CMatrix& data = isVector ? vector : peaks;
    const int row = isVector ? 1 : 2;
    if (data.Cols() == 0 || data.Rows() < row) {
        empty = 1;
        return;
    }
    CMatrixRow<double> values = data.Row(row);
    int largestCol = 0;
    const double largest = Largest(values.data(), values.size(), largestCol);
    ScaleToBasePeak(largest, largestCol, values.size());
}

void CMassSpectrum::ScaleToBasePeak(double largest, int largestCol, int scaledCols)
{
    if (largestCol == 0) {
        // No positive intensity, hence no base peak and nothing to scale by.
        basePeakMass = 0;
        return;
    }
    basePeakMass = isVector ? largestCol : peaks.Get(1, largestCol);
    if (largest >= 99.9999999999 && largest <= 100.0000000001) return;
    double factor = 100.0 / largest;
    if (factor < 1e-12) factor = 1;
    double* values = isVector ? vector.Row(1).data() : peaks.Row(2).data();
    for (int j = 0; j < scaledCols; ++j) values[j] *= factor;
    basePeakIntensity = TruncToUInt32(basePeakIntensity / factor);
}

void CMassSpectrum::CutAndNormalise(int maxMass)
{
    CMatrix& data = isVector ? vector : peaks;
    const int row = isVector ? 1 : 2;
    if (data.Cols() == 0 || data.Rows() < row) {
        empty = 1;
        return;
    }
    int largestCol = 0;
    if (isVector) {
        // Columns above the cut become 0, so only the ones below it can hold the base peak or
        // change when scaled.
        CMatrixRow<double> values = vector.Row(1);
        const int kept = std::clamp(maxMass, 0, values.size());
        std::fill(values.begin() + kept, values.end(), 0.0);
        const double largest = Largest(values.data(), kept, largestCol);
        ScaleToBasePeak(largest, largestCol, kept);
        return;
    }
    const double limit = maxMass + 1.0;  // see CutAbove
    const double* masses = peaks.Row(1).data();
    double* intensities = peaks.Row(2).data();
    const int n = peaks.Cols();
    for (int j = 0; j < n; ++j) intensities[j] = masses[j] >= limit ? 0.0 : intensities[j];
    const double largest = Largest(intensities, n, largestCol);
    ScaleToBasePeak(largest, largestCol, n);
}

void CMassSpectrum::ToVector()
{
    if (isVector) return;
    isVector = 1;
    ndec = 0;
    nbyte = 2;
    const int n = peaks.Rows() >= 2 ? peaks.Cols() : 0;
    if (n == 0) {
        vector.Free();
        firstMass = lastMass = 0;
        count = 1;
        peaks.Free();
        return;
    }
    int lo = 65535;
    int hi = 0;
    for (int j = 1; j <= n; ++j) {
        const int mass = std::clamp(NominalMass(peaks.Get(1, j)), 0, 65535);
        lo = std::min(lo, mass);
        hi = std::max(hi, mass);
    }
    firstMass = static_cast<uint16_t>(lo);
    lastMass = static_cast<uint16_t>(hi);
    count = static_cast<uint16_t>(hi - lo + 1);
    vector.Alloc(1, hi);
    for (int j = 1; j <= n; ++j) {
        const int mass = NominalMass(peaks.Get(1, j));
        if (mass >= 1 && mass <= hi) vector.Set(1, mass, vector.Get(1, mass) + peaks.Get(2, j));
    }
    Normalise();
    peaks.Free();
}

void CMassSpectrum::CutAbove(int maxMass)
{
    if (isVector) {
        if (vector.Rows() < 1) return;
        CMatrixRow<double> values = vector.Row(1);
        for (int m = std::max(maxMass + 1, 1); m <= values.size(); ++m) values[m] = 0;
    } else {
        if (peaks.Rows() < 2) return;
        // The integer part of the mass decides, so 100.9 still counts as m/z 100: the integer
        // part exceeds maxMass exactly when the mass reaches maxMass + 1.
        const double limit = maxMass + 1.0;
        CMatrixRow<double> masses = peaks.Row(1);
        CMatrixRow<double> intensities = peaks.Row(2);
        for (int j = 1; j <= masses.size(); ++j) {
            if (masses[j] >= limit) intensities[j] = 0;
        }
    }
}

}  // namespace kiv
