#include "search/SiscomPreparation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;
constexpr int kFirstIsotopeMass = 27;

// Intensities by nominal mass, 1-based; masses outside the vector read as 0.
class CIntensities {
public:
    explicit CIntensities(CMatrix& vector) : vector_(vector), lastMass_(vector.Cols()) {}
    int LastMass() const { return lastMass_; }
    double operator()(int mass) const { return vector_.Get(1, mass); }
    void Set(int mass, double value) { vector_.Set(1, mass, value); }

private:
    CMatrix& vector_;
    int lastMass_;
};

// 13C contributions of the ion one mass lower: about 1.1 % per carbon for M + 1 and the
// binomial share for M + 2, with the carbon count estimated from the mass (one CH2 per 14).
void SubtractIsotopes(CIntensities& intensity)
{
    const int last = intensity.LastMass();
    for (int b = kFirstIsotopeMass; b <= last; ++b) {
        const double lower = intensity(b - 1);
        const int carbons = (b - 6) / 14 + 1;
        if (lower > kEpsilon && intensity(b) > kEpsilon) {
            intensity.Set(b, std::max(intensity(b) - 0.0111 * carbons * lower, 0.0));
        }
        if (b + 1 <= last && intensity(b) > kEpsilon) {
            const double n2 = carbons - 2.0;
            intensity.Set(b + 1, std::max(intensity(b + 1) - 0.0000616 * n2 * n2 * lower, 0.0));
        }
    }
}

// Keeps a peak that stands out against its neighbours 14 masses away (the homologous CH2
// series) and above the threshold.
void LocalRule(CIntensities& intensity, int mass, double threshold)
{
    const int last = intensity.LastMass();
    if (mass > last) return;
    double below = mass >= 15 ? intensity(mass - 14) : 0.0;
    double above = mass + 14 <= last ? intensity(mass + 14) : 0.0;
    double value = intensity(mass);
    if (!(value >= 0.55 * (below + above) && value > threshold)) intensity.Set(mass, 0.0);
}

void ClearMass(CIntensities& intensity, int mass)
{
    if (mass <= intensity.LastMass()) intensity.Set(mass, 0.0);
}

// Background (air, water, CO2) and uninformative low masses go; the rest must stand out.
void FilterMasses(CIntensities& intensity, double threshold)
{
    const int last = intensity.LastMass();
    for (int m = 1; m <= 25; ++m) ClearMass(intensity, m);
    for (int m : {26, 27}) LocalRule(intensity, m, threshold);
    ClearMass(intensity, 28);
    for (int m = 29; m <= 31; ++m) LocalRule(intensity, m, threshold);
    ClearMass(intensity, 32);
    for (int m = 33; m <= 41; ++m) LocalRule(intensity, m, threshold);
    if (42 <= last && (intensity(42) < 10 || (last >= 56 && intensity(56) > intensity(42)))) intensity.Set(42, 0.0);
    LocalRule(intensity, 43, threshold);
    if (44 <= last) {
        double reference = intensity(30) + (last >= 58 ? intensity(58) : 0.0);
        if (intensity(44) <= 0.55 * reference) intensity.Set(44, 0.0);
    }
    for (int m = 45; m <= last; ++m) LocalRule(intensity, m, threshold);
}

// The masses that carry a peak, weakest first (lower mass first among equal intensities).
std::vector<int> PeaksWeakestFirst(const CIntensities& intensity)
{
    std::vector<int> peaks;
    for (int m = 1; m <= intensity.LastMass(); ++m) {
        if (intensity(m) > kEpsilon) peaks.push_back(m);
    }
    std::stable_sort(peaks.begin(), peaks.end(), [&](int a, int b) { return intensity(a) < intensity(b); });
    return peaks;
}

// Only masses that carry a peak are ranked, so that the weak-peak step really removes weak
// peaks and at most maxPeaks peaks remain. A rich spectrum (more than 27 peaks) first loses
// those of its c - floor((c - 24) / 3) - 26 weakest peaks that are at most 0.08 high and lie
// below the last mass - 2; then the weakest peaks beyond maxPeaks go.
void ReducePeaks(CIntensities& intensity, const SiscomOptions& options)
{
    std::vector<int> peaks = PeaksWeakestFirst(intensity);
    size_t count = peaks.size();
    size_t first = 0;  // peaks[first..] are still there
    if (options.weakPeakRemoval > 0 && count > 27) {
        const long c = static_cast<long>(count);
        const long examined = std::clamp(c - (c - 24) / 3 - 26, 0L, c);
        std::vector<int> kept;
        for (long k = 0; k < examined; ++k) {
            int mass = peaks[static_cast<size_t>(k)];
            if (intensity(mass) <= 0.08 && mass < intensity.LastMass() - 2) {
                intensity.Set(mass, 0.0);
                --count;
            } else {
                kept.push_back(mass);
            }
        }
        peaks.erase(peaks.begin(), peaks.begin() + examined);
        peaks.insert(peaks.begin(), kept.begin(), kept.end());
    }
    const size_t limit = static_cast<size_t>(std::max(options.maxPeaks, 0));
    for (; count > limit && first < peaks.size(); ++first, --count) intensity.Set(peaks[first], 0.0);
}

}  // namespace

void PrepareSiscom(CMassSpectrum& spectrum, std::string& name, const SiscomOptions& options)
{
    spectrum.ToVector();
    CIntensities intensity(spectrum.vector);
    if (options.isotopeCorrection > 0 && intensity.LastMass() >= kFirstIsotopeMass) {
        SubtractIsotopes(intensity);
        spectrum.Normalise();
    }
    FilterMasses(intensity, options.query > 0 ? 1.5 : 2.0);
    spectrum.Normalise();
    ReducePeaks(intensity, options);
    name.insert(0, options.query > 0 ? "SisQuery" : "SisRefer");
}

}  // namespace kiv
