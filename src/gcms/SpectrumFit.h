#pragma once
// How much of a reference spectrum a scan of a GC-MS run contains. Fit is the percentage by
// which the reference fits under the scan's spectrum: the lowest ratio scan / reference over the
// reference's masses, where a few small reference peaks may be missing from the scan. FitTIC is
// that share in total ion current relative to the run's largest TIC, Pure the share of the scan
// that the fitted reference explains.
#include "library/RunData.h"
#include "matrix/Matrix.h"

namespace kiv {

struct CFitSettings {
    int leastMasses = 3;  // fewer usable masses give Fit 0
    double leastIntensity = 2.0;  // reference masses below this are not used
    double largestSkippable = 12.0;  // a reference mass above this is never skipped
    double skippableShare = 10.0;  // percent of the scan's summed intensity the skipped masses may reach
};

struct FitMeasures {
    double fit = 0;
    double fitTic = 0;
    double pure = 0;
};

// The nominal mass of a peak-list entry, false for an entry that is not used (mass at or below
// -100, or no number that a mass column can address).
bool PeakListMass(double value, int& mass);

// The reference as relative intensity vector (column m = mass m).
FitMeasures FitSpectrum(const CRunData& run, int scan, const CMatrix& reference,
                        const CFitSettings& settings = CFitSettings{});
// The reference as peak list (row 1 mass, row 2 intensity; masses at or below -100 are unused).
// Fit is scaled by the largest used intensity, so a list with base peak 100 fits as its vector.
FitMeasures FitProfile(const CRunData& run, int scan, const CMatrix& peaks,
                       const CFitSettings& settings = CFitSettings{});

}  // namespace kiv
