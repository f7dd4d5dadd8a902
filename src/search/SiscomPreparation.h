#pragma once
// Spectrum preparation for the SISCOM-style criteria: isotope contributions are subtracted,
// background and uninformative masses removed, weak peaks dropped and the number of peaks
// limited, so that the peak-count scores compare the informative peaks only.
#include <string>

#include "library/MassSpectrum.h"

namespace kiv {

struct SiscomOptions {
    int isotopeCorrection = 1;  // > 0: subtract isotope contributions
    int query = 0;  // > 0: the spectrum is an unknown, else a reference
    int weakPeakRemoval = 1;  // > 0: drop the weakest peaks of rich spectra
    int maxPeaks = 150;
};

// Prepares the spectrum in place (in vector form) and puts "SisQuery" or "SisRefer" in front
// of name.
void PrepareSiscom(CMassSpectrum& spectrum, std::string& name, const SiscomOptions& options);

}  // namespace kiv
