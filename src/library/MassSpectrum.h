#pragma once
// One electron-ionisation mass spectrum, the shared spectrum type of the workbench. It is held
// either as a peak list (real masses, intensities in percent of the base peak) or as an intensity
// vector over nominal masses (column m holds the intensity at m/z m). A real mass m belongs to
// the nominal mass floor(m + 0.3): mass defects of organic ions are small and mostly positive,
// so 43.69 is still m/z 43 while 43.7 counts as 44.
#include <cstdint>
#include <string>

#include "matrix/Matrix.h"

namespace kiv {

class CMassSpectrum {
public:
    int empty = 1;
    int isVector = 0;  // 1: intensities in vector; 0: in peaks
    int nbyte = 2;  // stored mass width of the peak list: 2, 4 or 8 bytes
    int ndec = 1;  // stored decimals of the peak-list masses
    uint16_t count = 0;  // peaks, or vector positions from firstMass to lastMass
    CMatrix peaks;  // 2 x count: row 1 masses, row 2 intensities, in stored order
    uint16_t firstMass = 0;
    uint16_t lastMass = 0;
    CMatrix vector;  // 1 x lastMass; columns below firstMass are 0
    double basePeakMass = 0;
    uint32_t basePeakIntensity = 0;  // absolute intensity of the base peak before normalising
    int32_t tic = 0;  // total ion current
    double retentionTime = 0;  // 0 when absent
    double retentionIndex = 0;  // 0 when absent
    uint16_t quality = 0;  // match quality given by the source library
    std::string comment;

    void Clear();

    // Scales the intensities so that the base peak is 100 and finds the base-peak mass (the
    // lowest mass holding the largest intensity). basePeakIntensity follows the scaling, so that
    // intensity x basePeakIntensity / 100 stays the absolute intensity. A spectrum without any
    // positive intensity has no base peak: nothing is scaled and basePeakMass becomes 0. A
    // spectrum without peaks or vector columns becomes empty.
    void Normalise();

    // Turns a peak list into the vector form: peaks of the same nominal mass are summed, then the
    // spectrum is normalised and the peak list emptied. Nominal masses outside 1..65535 cannot be
    // held by the vector and are dropped. Does nothing to a spectrum already in vector form.
    void ToVector();

    // Zeroes every intensity above m/z maxMass (peaks keep their place in the list). Spectra read
    // for analysis are cut at m/z 100.
    void CutAbove(int maxMass);
    // CutAbove then Normalise, in fewer passes over the data (the reader's hot path).
    void CutAndNormalise(int maxMass);

private:
    // Scales by 100 / largest, given the largest intensity and where it stands (column 0: none).
    void ScaleToBasePeak(double largest, int largestCol, int scaledCols);
};

// The nominal mass of a real mass, floor(m + 0.3), saturated to the int range (NaN gives 0).
int NominalMass(double mass);

}  // namespace kiv
