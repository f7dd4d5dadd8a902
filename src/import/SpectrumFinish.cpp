#include "import/SpectrumFinish.h"

#include <cmath>

#include "base/BinaryIO.h"

namespace kiv {

void StartSpectrum(CMassSpectrum& spectrum, int nbyte, int ndec)
{
    spectrum.Clear();
    spectrum.empty = 0;
    spectrum.isVector = 0;
    spectrum.nbyte = nbyte;
    spectrum.ndec = ndec;
}

void StartName(CBibName& name)
{
    name.Clear();
    name.empty = 0;
}

void FinishSpectrum(CMassSpectrum& spectrum)
{
    CMatrix& peaks = spectrum.peaks;
    const int n = peaks.Rows() >= 2 ? peaks.Cols() : 0;
    double sum = 0;
    double largest = 0;
    int largestCol = 0;
    for (int j = 1; j <= n; ++j) {
        const double intensity = peaks.Get(2, j);
        sum += intensity;
        if (intensity > largest) {
            largest = intensity;
            largestCol = j;
        }
    }
    spectrum.tic = TruncToInt32(std::floor(sum + 0.5));
    spectrum.basePeakIntensity = TruncToUInt32(std::floor(largest + 0.5));
    spectrum.basePeakMass = largestCol > 0 ? peaks.Get(1, largestCol) : 0;
    if (largestCol == 0) return;
    const double factor = 100.0 / largest;
    CMatrixRow<double> intensities = peaks.Row(2);
    for (double& v : intensities) v *= factor;
}

}  // namespace kiv
