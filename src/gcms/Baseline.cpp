#include "gcms/Baseline.h"

#include <cmath>

#include "base/Format.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "gcms/Msm.h"

namespace kiv {

namespace {

constexpr double kTolerance = 1e-12;
// Corrected intensities below this are rounding noise of the envelope; lower ones are reported.
constexpr double kReportedUndershoot = -0.0001;

// One thinning pass over the support list; true when it removed a scan. The middle scan b of
// each triple a < b < c of consecutive support scans is a candidate when the triple spans at most
// the baseline width and b lies on or above the line from a to c. Of two successive candidates
// the one with the larger bend goes; a candidate followed by a non-candidate goes.
bool ThinOnce(const std::vector<double>& y, int width, std::vector<int>& support)
{
    const size_t count = support.size();
    if (count < 3) return false;
    std::vector<char> removed(count, 0);
    bool pending = false;  // the middle of the previous triple is the pending candidate
    double previousBend = 0;
    bool any = false;
    for (size_t k = 1; k + 1 < count; ++k) {
        const int a = support[k - 1], b = support[k], c = support[k + 1];
        const double bend = (y[b] - y[a]) / (b - a) - (y[c] - y[b]) / (c - b);
        const bool candidate = c - a <= width && bend > -kTolerance;
        if (candidate && pending && bend > previousBend - kTolerance) {
            previousBend = bend;  // b takes over as pending candidate, a stays
            continue;
        }
        if (pending) {
            removed[k - 1] = 1;
            any = true;
            pending = false;
            continue;
        }
        pending = candidate;
        previousBend = bend;
    }
    if (pending) {
        removed[count - 2] = 1;
        any = true;
    }
    if (!any) return false;
    size_t kept = 0;
    for (size_t k = 0; k < count; ++k) {
        if (!removed[k]) support[kept++] = support[k];
    }
    support.resize(kept);
    return true;
}

// The record's relative intensity at mass m after removing the baseline value b of its scan.
double CorrectedIntensity(double v, double b, double largestIbase, double ibase)
{
    return v - b * largestIbase / ibase;
}

class CBaselineCorrection {
public:
    explicit CBaselineCorrection(CBib& bib) : bib_(bib) {}
    // Corrects the records at mass m by the baseline b.
    void Apply(int m, const std::vector<double>& b);

private:
    CBib& bib_;
    bool reported_ = false;
};

void CBaselineCorrection::Apply(int m, const std::vector<double>& b)
{
    const CRunData& run = bib_.run;
    for (size_t i = 0; i < b.size() && i < bib_.memorySpectra.size(); ++i) {
        const double ibase = run.ibase.Get(1, static_cast<int>(i) + 1);
        if (ibase <= 0) continue;  // a scan without intensity has nothing to correct
        CMassSpectrum& spectrum = bib_.memorySpectra[i];
        double d = CorrectedIntensity(spectrum.vector.Get(1, m), b[i], run.largestIbase, ibase);
        // One report per correction: a steep background can undershoot at thousands of cells.
        if (d < kReportedUndershoot && !reported_) {
            ReportRunTimeError(Format("d_i = %f", d));
            reported_ = true;
        }
        if (d < 0) d = 0;
        spectrum.vector.Set(1, m, d);
    }
}

}  // namespace

std::vector<double> IonChromatogram(const CRunData& run, int mass)
{
    const int n = run.msm.Rows();
    std::vector<double> y(static_cast<size_t>(n), 0.0);
    if (run.largestIbase <= 0) return y;
    for (int i = 1; i <= n; ++i) y[static_cast<size_t>(i - 1)] = run.msm.Get(i, mass) * run.ibase.Get(1, i) / run.largestIbase;
    return y;
}

std::vector<int> BaselineSupport(const std::vector<double>& y, int baselineWidth)
{
    std::vector<int> support(y.size());
    for (size_t i = 0; i < y.size(); ++i) support[i] = static_cast<int>(i);
    while (ThinOnce(y, baselineWidth, support)) {
    }
    return support;
}

std::vector<double> BaselinePolygon(const std::vector<double>& y, const std::vector<int>& support)
{
    std::vector<double> b(y.size(), 0.0);
    for (size_t k = 0; k < support.size(); ++k) {
        const int j1 = support[k];
        b[static_cast<size_t>(j1)] = y[static_cast<size_t>(j1)];
        if (k + 1 == support.size()) break;
        const int j2 = support[k + 1];
        const double y1 = y[static_cast<size_t>(j1)], y2 = y[static_cast<size_t>(j2)];
        for (int i = j1 + 1; i < j2; ++i) b[static_cast<size_t>(i)] = y1 + (y2 - y1) * (i - j1) / (j2 - j1);
    }
    return b;
}

CMatrix CorrectBaseline(CBib& bib, int mass, std::string& status)
{
    EnsureMSM(bib);
    const CParameters& p = bib.parameters;
    const CRunData& run = bib.run;
    const int n = run.msm.Rows();
    const int maxMass = run.msm.Cols();
    const int required = static_cast<int>(std::floor(n * p.baselineSelectionRatio + 0.5));
    const bool changeRecords = mass == 0 && bib.inMemory;
    if (changeRecords) {
        for (CMassSpectrum& spectrum : bib.memorySpectra) spectrum.ToVector();
    }
    CBaselineCorrection correction(bib);
    CMatrix baseline(1, n);
    int corrected = 0;
    const int first = mass > 0 ? mass : 1;
    const int last = mass > 0 ? mass : maxMass;
    for (int m = first; m <= last; ++m) {
        // A cancel keeps the masses corrected so far; the run data then follows them.
        if (changeRecords && ReportProgress(static_cast<int>(int64_t(m) * 100 / last), "Calculating Baseline ...") > 1) break;
        baseline.Fill(0.0);
        const std::vector<double> y = IonChromatogram(run, m);
        int present = 0;
        for (double value : y) present += value >= p.baselineSelectionI ? 1 : 0;
        if (present < required) continue;
        ++corrected;
        const std::vector<double> b = BaselinePolygon(y, BaselineSupport(y, p.baselineWidth));
        for (int i = 1; i <= n; ++i) baseline.Set(1, i, b[static_cast<size_t>(i - 1)]);
        if (changeRecords) correction.Apply(m, b);
    }
    if (changeRecords && corrected > 0) {
        ComputeMSM(bib, MsmPass::Recalculation);
        status = Format("Baseline correction for %d/%d Masses done.", corrected, maxMass);
    } else {
        status = "No Data in BIB was changed.";
    }
    return baseline;
}

}  // namespace kiv
