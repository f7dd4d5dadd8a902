#pragma once
// The parameter set: processing settings that travel with a library object and are shared by
// display, GC-MS processing, retention-index calibration, mass rounding of imported spectra and
// the spectral similarity search. Saved to and loaded from ".ini" text files.
#include <cstdint>
#include <string>
#include <vector>

#include "base/FileResult.h"
#include "base/Prompt.h"
#include "matrix/Matrix.h"

namespace kiv {

struct CParameters {
    // A fresh set holds zeros; the first reset of its library object fills in the defaults
    // (recognised by the MSM maximum mass still being 0).
    int32_t msmMaxMass = 0;
    double displayI = 0;
    int32_t displayLibHits = 0;
    int32_t peakDetectionWidth = 0;
    int32_t peakDetectionMasses = 0;
    double peakHeightThreshold = 0;
    double baselineSelectionI = 0;
    double baselineSelectionRatio = 0;
    int32_t baselineStartMinima = 0;
    int32_t baselineWidth = 0;
    // Retention time as a function of the retention index: rt = q*ri^2 + k*ri + d.
    double retXq = 0;
    double retXk = 0;
    double retXd = 0;
    int32_t retUse = 0;
    double retRadius = 0;
    double retDeviation = 0;
    CMatrix retPoints;  // 2 x n: row 1 retention index, row 2 retention time
    int32_t retCalc = 0;
    // Mass rounding of imported spectra: integer mass = round((m - mmfa) / mmff), accepted within
    // +/- (mfia + mfif * m^mfip).
    double msMmfa = 0;
    double msMmff = 0;
    double msMfia = 0;
    double msMfif = 0;
    double msMfip = 0;
    int32_t msSpectrum = 0;
    int32_t msMVector = 0;
    int32_t msMNbyte = 0;
    int32_t msMNdec = 0;
    int32_t noHits = 0;
    int32_t delIdentHit1 = 0;
    int32_t simCriterion = 0;
    double simTransExpI = 0;
    double simTransExpM = 0;
    // Retention-index window of the spectral search ("RI Window"): references whose index differs
    // from the unknown's by more than this are left out; 0 switches it off. Written into a
    // parameter file, after "Sim Trans exp m", only when it is on.
    double riWindow = 0;
    std::string simFeatSelText;  // as the user wrote it
    std::vector<int32_t> simFeatSel;  // the feature numbers it names
    int32_t subtractionPeakWidth = 0;
    int32_t subtractionMode = 0;
    // Threads of the feature generation: 0 every core. A setting of the machine rather than of
    // the library, so it is read from a parameter file but not written into one.
    int32_t threads = 0;

    // Sets the defaults the first time (MSM maximum mass still 0); later calls keep the values.
    void ResetOnFirstUse();
    void SetDefaults();
};

// Reads a parameter file into the set. An empty path asks for the file.
FileResult LoadParameters(CParameters& parameters, const std::string& path, CPrompter& prompter);
// Writes the set with the view zoom. An empty path asks for the file (".ini" is appended to a
// chosen name without any ".").
FileResult SaveParameters(const CParameters& parameters, const std::string& path, int zoom, CPrompter& prompter);
// Copies the shared settings into a second set; calibration points, the parsed feature list and
// the subtraction settings stay as they are in the target.
void CopyParameters(const CParameters& from, CParameters& to);

struct WindowSettings {
    int left = 20;
    int top = 0;
    int width = 780;
    int height = 740;
    int zoom = 100;
};

// The desktop view's start-up reader: window placement and zoom from the parameter file, then
// the parameters themselves into the working set, copied into the reference set. A missing file
// is reported ("%s not found!") and gives the default placement.
WindowSettings ReadWindowSettings(const std::string& path, CParameters& working, CParameters& reference,
                                  CPrompter& prompter);

}  // namespace kiv
