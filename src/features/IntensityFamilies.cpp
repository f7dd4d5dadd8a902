#include "features/IntensityFamilies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kiv {

namespace {

constexpr double kEpsilon = 1e-12;
// Narrow windows are summed mass by mass, wider ones over the spectrum's peaks.
constexpr int64_t kDenseWindow = 16;

}  // namespace

// Feature j sums the intensities of the masses m in lo..hi with m mod n = j (residue 0 counts
// as n): the homologous ion series of a fragment type.
void ComputeModulo(const ModuloLine& line, const CSpectraView& spectra, CFeatureTarget& target, EngineScratch& scratch)
{
    const int k = line.featureCount;
    if (k < 1) return;
    const int M = spectra.HighestMass();
    const int64_t lo = std::max(line.lowest, 1);
    const int64_t hi = std::min(line.highest, M);
    const int n = line.modulus;  // >= 1 whenever k >= 1
    std::vector<double>& sums = scratch.values;
    for (int i = 1; i <= spectra.Count(); ++i) {
        sums.assign(static_cast<size_t>(k), 0.0);
        CSpectrumRow spectrum = spectra.Spectrum(i);
        if (M >= lo) {
            for (int m : spectra.Peaks(i, lo, hi)) {
                int j = m % n;
                if (j == 0) j = n;
                if (j <= k) sums[static_cast<size_t>(j - 1)] += spectrum.At(m);
            }
        }
        double scale = 0;
        if (line.normalisation == 'M') {
            scale = *std::max_element(sums.begin(), sums.end());
            scale = std::max(scale, 0.0);
        } else if (line.normalisation == 'S') {
            for (double v : sums) scale += v;
        }
        if (line.normalisation != 0 && scale > kEpsilon) {
            const double factor = 100.0 / scale;
            for (double& v : sums) v *= factor;
        }
        for (int j = 1; j <= k; ++j) target.Set(i, j, sums[static_cast<size_t>(j - 1)]);
    }
}

// Logarithmic ratio of the intensities at m and m + n, both floored at the threshold t and
// scaled by D = ln(100 / t), so that mode 0 runs from 0 to 100 with 50 for equal intensities.
void ComputeRatio(const RatioLine& line, const CSpectraView& spectra, CFeatureTarget& target)
{
    const int M = spectra.HighestMass();
    const double t = line.threshold;
    const double D = line.logRange;
    // factor * ln(x) / D. Intensities below the threshold all read as t, so many ratios are
    // exactly 1 and many minima exactly t: those values are worked out once per call.
    const double logT = line.logThreshold;
    const double atOne[2] = {50.0 * 0.0 / D, 100.0 * 0.0 / D};
    const double atT[2] = {50.0 * logT / D, 100.0 * logT / D};
    auto scaledLog = [&](int f, double x) {
        return x == 1.0 ? atOne[f] : x == t ? atT[f] : (f == 0 ? 50.0 : 100.0) * std::log(x) / D;
    };
    for (size_t q = 0; q < line.masses.size(); ++q) {
        const int col = static_cast<int>(q + 1);
        const int64_t m = line.masses[q];
        const int64_t partner = m + line.distance;
        for (int i = 1; i <= spectra.Count(); ++i) {
            double value = 0;
            if (m > M) {
                value = line.mode == 0 ? 50.0 : 0.0;
            } else {
                CSpectrumRow spectrum = spectra.Spectrum(i);
                const double a = std::max(spectrum(m), t);
                if (partner <= M) {
                    const double b = std::max(spectrum(partner), t);
                    switch (line.mode) {
                    case 0: value = 50.0 + scaledLog(0, a / b); break;
                    case 1: value = b < a ? scaledLog(1, a / b) : 0.0; break;
                    case 2: value = b > a ? scaledLog(1, b / a) : 0.0; break;
                    default: value = scaledLog(1, std::min(a, b)); break;
                    }
                } else {
                    switch (line.mode) {
                    case 0: value = 50.0 + scaledLog(0, a / t); break;
                    case 1: value = scaledLog(1, a / t); break;
                    case 2: value = 0.0; break;
                    default: value = atT[1]; break;
                    }
                }
            }
            target.Set(i, col, value);
        }
    }
}

namespace {

// The autocorrelation of spectrum i at the W lags of the line's columns js[0..W-1] (each with
// 0 <= lag <= hi - lo): for every lag, the products S(l) S(l + L) of the peaks l <= hi - L
// summed in ascending mass order.
template <int W>
void LagSums(const AutocorrelationLine& line, const CSpectrumRow& spectrum, const CPeakMasses& peaks, int64_t hi,
             double sxx, const int* js, int i, CFeatureTarget& target)
{
    int64_t lag[W];
    const int* end[W];
    const int* common = peaks.end();
    for (int a = 0; a < W; ++a) {
        lag[a] = line.lags[static_cast<size_t>(js[a] - 1)];
        end[a] = std::upper_bound(peaks.begin(), peaks.end(), hi - lag[a]);
        common = std::min(common, end[a]);
    }
    double sxy[W] = {};
    const int* p = peaks.begin();
    for (; p < common; ++p) {
        const double x = spectrum.At(*p);
        for (int a = 0; a < W; ++a) sxy[a] += x * spectrum.At(*p + lag[a]);
    }
    for (int a = 0; a < W; ++a) {
        for (const int* q = p; q < end[a]; ++q) sxy[a] += spectrum.At(*q) * spectrum.At(*q + lag[a]);
        target.Set(i, js[a], sxx > kEpsilon ? 100.0 * sxy[a] / sxx : 0.0);
    }
}

}  // namespace

// 100 * sum S(l) S(l + L) / sum S(l)^2 over the window lo..hi: how strongly the spectrum
// repeats itself at a mass distance L.
void ComputeAutocorrelation(const AutocorrelationLine& line, const CSpectraView& spectra, CFeatureTarget& target)
{
    const int G = spectra.Count();
    const int cols = static_cast<int>(line.lags.size());
    for (int i = 1; i <= G; ++i) {
        for (int j = 1; j <= cols; ++j) target.Set(i, j, 0.0);
    }
    if (line.lowest == 0 || line.highest == 0) return;
    const int M = spectra.HighestMass();
    const int64_t lo = std::max(line.lowest, 1);
    const int64_t hi = std::min(line.highest, M);
    if (M < lo) return;
    for (int i = 1; i <= G; ++i) {
        CSpectrumRow spectrum = spectra.Spectrum(i);
        const CPeakMasses peaks = spectra.Peaks(i, lo, hi);
        double sxx = 0;
        for (int l : peaks) sxx += spectrum.At(l) * spectrum.At(l);
        // Lags whose shifted window still overlaps the window, taken four at a time: their sums
        // are independent, and running them side by side keeps the adder busy.
        int pending[4];
        int count = 0;
        for (int j = 1; j <= cols; ++j) {
            if (hi - lo < line.lags[static_cast<size_t>(j - 1)]) continue;
            pending[count++] = j;
            if (count == 4) {
                LagSums<4>(line, spectrum, peaks, hi, sxx, pending, i, target);
                count = 0;
            }
        }
        for (int a = 0; a < count; ++a) LagSums<1>(line, spectrum, peaks, hi, sxx, pending + a, i, target);
    }
}

// Mean intensity over each range as written: masses above the spectrum's end count as 0, so
// the divisor is the written width.
void ComputeMeanIntensity(const MeanIntensityLine& line, const CSpectraView& spectra, CFeatureTarget& target)
{
    const int M = spectra.HighestMass();
    for (size_t r = 0; r < line.lower.size(); ++r) {
        const int col = static_cast<int>(r + 1);
        const int64_t lo = line.lower[r], hi = line.upper[r];
        const int64_t first = std::max<int64_t>(lo, 1), last = std::min<int64_t>(hi, M);
        const double width = static_cast<double>(hi - lo + 1);
        for (int i = 1; i <= spectra.Count(); ++i) {
            if (M < first) {
                target.Set(i, col, 0.0);
                continue;
            }
            CSpectrumRow spectrum = spectra.Spectrum(i);
            double sum = 0;
            if (last - first < kDenseWindow) {
                for (int64_t m = first; m <= last; ++m) sum += spectrum.At(m);
            } else {
                for (int m : spectra.Peaks(i, first, last)) sum += spectrum.At(m);
            }
            // x / 1 is x itself: single masses need no division.
            target.Set(i, col, line.transform(width == 1.0 ? sum : sum / width));
        }
    }
}

// 100 * S(h) / (sum over h - n .. h + n): how much a peak dominates its neighbourhood.
void ComputeLocalShare(const LocalShareLine& line, const CSpectraView& spectra, CFeatureTarget& target,
                       EngineScratch& scratch)
{
    const int M = spectra.HighestMass();
    const int64_t n = line.halfWidth;
    if (M >= 1 && n >= 0 && 2 * n < kDenseWindow) {
        // Narrow windows: each sum runs mass by mass over a copy of the spectrum padded with
        // zeros on both sides (adding +0 to a sum that started at +0 changes nothing), with no
        // branch on the intensities.
        const int64_t base = 1 - 2 * n;  // lowest mass a window can reach
        std::vector<double>& padded = scratch.values;
        for (int i = 1; i <= spectra.Count(); ++i) {
            CSpectrumRow spectrum = spectra.Spectrum(i);
            padded.assign(static_cast<size_t>(M + 3 * n), 0.0);
            std::copy(spectrum.Data(), spectrum.Data() + M, padded.begin() + (1 - base));
            for (size_t q = 0; q < line.masses.size(); ++q) {
                const int64_t h = line.masses[q];
                double value = 0;
                if (h <= M && h + n >= 1) {
                    const double* window = padded.data() + (h - n - base);
                    double sum = 0;
                    for (int64_t k = 0; k <= 2 * n; ++k) sum += window[k];
                    if (sum > kEpsilon) value = 100.0 * window[n] / sum;
                }
                target.Set(i, static_cast<int>(q + 1), value);
            }
        }
        return;
    }
    for (size_t q = 0; q < line.masses.size(); ++q) {
        const int col = static_cast<int>(q + 1);
        const int64_t h = line.masses[q];
        const int64_t lo = std::max<int64_t>(h - line.halfWidth, 1);
        const int64_t hi = std::min<int64_t>(h + line.halfWidth, M);
        for (int i = 1; i <= spectra.Count(); ++i) {
            double value = 0;
            if (h <= M && lo <= hi) {
                CSpectrumRow spectrum = spectra.Spectrum(i);
                double sum = 0;
                if (hi - lo < kDenseWindow) {
                    for (int64_t m = lo; m <= hi; ++m) sum += spectrum.At(m);
                } else {
                    for (int m : spectra.Peaks(i, lo, hi)) sum += spectrum.At(m);
                }
                if (sum > kEpsilon) value = 100.0 * spectrum(h) / sum;
            }
            target.Set(i, col, value);
        }
    }
}

// Shares of the total ion current in ml..mh: below mass 79 ("DUST"), in the base peak
// ("IBAS") and at even masses ("EVEN", which odd-electron and nitrogen-rich ions favour).
void ComputeIonShare(const IonShareLine& line, const CSpectraView& spectra, CFeatureTarget& target)
{
    const int M = spectra.HighestMass();
    const int64_t lo = std::max(line.lowest, 1);
    const int64_t hi = std::min(line.highest, M);
    const int cols = static_cast<int>(line.shares.size());
    for (int i = 1; i <= spectra.Count(); ++i) {
        double total = 0, low = 0, largest = 0, even = 0;
        if (M >= lo) {
            CSpectrumRow spectrum = spectra.Spectrum(i);
            for (int m : spectra.Peaks(i, lo, hi)) {
                const double x = spectrum.At(m);
                total += x;
                if (m <= 78) low += x;
                if (x > largest) largest = x;
                if (m % 2 == 0) even += x;
            }
        }
        for (int j = 1; j <= cols; ++j) {
            double part = 0;
            switch (line.shares[static_cast<size_t>(j - 1)]) {
            case IonShare::LowMass: part = low; break;
            case IonShare::BasePeak: part = largest; break;
            case IonShare::EvenMass: part = even; break;
            case IonShare::Illegal: part = 0; break;
            }
            target.Set(i, j, total > kEpsilon ? 100.0 * part / total : 0.0);
        }
    }
}

}  // namespace kiv
