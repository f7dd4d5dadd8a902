#include "gcms/RetentionCalibration.h"

#include "base/Format.h"
#include "base/Reporter.h"
#include "gcms/RetentionConversion.h"
#include "matrix/MatrixNumerics.h"

namespace kiv {

namespace {

constexpr double kPointDeviation = 10.0;
constexpr double kNoTime = 1e-300;

struct CalibrationFunction {
    const char* name;
    int coefficients;
};

CalibrationFunction FunctionOf(int retCalc)
{
    switch (retCalc) {
    case 1: return {"constant", 1};
    case 2: return {"linear", 2};
    case 4: return {"cubic polynome", 4};
    default: return {"quadratic polynome", 3};
    }
}

}  // namespace

void UseSelectedSpectraCommand(CBib& bib, const CChromatogram& chromatogram, CSession& session)
{
    const CMatrix& times = bib.run.retentionTime;
    if (times.IsEmpty()) {
        ReportRunTimeError("No Retention Times!");
        return;
    }
    const int count = chromatogram.selected.Cols();
    if (count < 1) {
        ReportRunTimeError("Select Spectra!");
        return;
    }
    CMatrix& points = bib.parameters.retPoints;
    if (!points.Resize(2, count)) return;
    for (int i = 1; i <= count; ++i) points.Set(2, i, times.Get(1, chromatogram.selected.Get(1, i)));
    session.SetStatus("Retention Times stored.");
}

void EnterRetentionIndicesCommand(CBib& bib, CPrompter& prompter)
{
    CMatrix& points = bib.parameters.retPoints;
    for (int i = 1; i <= points.Cols(); ++i) {
        const std::string prompt = Format("Calibration Point %d\nRetention Time %11.6f\nRetention Index:", i, points.Get(2, i));
        points.Set(1, i, AskReal(prompter, prompt, points.Get(1, i)));
    }
}

void CalibrationCommand(CBib& bib, CSession& session)
{
    const CalibrationFunction function = FunctionOf(bib.parameters.retCalc);
    const CMatrix& points = bib.parameters.retPoints;
    const int n = points.Cols();
    CMatrix x(1, n), y(1, n), sigma(1, n);
    for (int i = 1; i <= n; ++i) {
        x.Set(1, i, points.Get(1, i));
        y.Set(1, i, points.Get(2, i));
        sigma.Set(1, i, kPointDeviation);
    }
    CMatrixNumerics coefficients, fitted;
    CMatrixNumerics::PolyFit(x, y, sigma, coefficients, fitted, 1, function.coefficients);
    session.ClearLog();
    session.Log(Format("Fit %s function with %d coefficients:", function.name, function.coefficients));
    for (int k = 1; k <= function.coefficients; ++k) session.Log(Format("c%d%20.12f", k, coefficients.Get(1, k)));
    session.Log(Format("Calibration points (%d):", n));
    session.Log("       x            y            y*");
    for (int i = 1; i <= n; ++i) session.Log(Format("%8.0f%14.6f%14.6f", x.Get(1, i), y.Get(1, i), fitted.Get(1, i)));
    session.Redraw();
}

void CalculateRetentionIndexCommand(CBib& bib, CSession& session)
{
    CRunData& run = bib.run;
    if (run.retentionTime.IsEmpty()) {
        session.SetStatus("Calc MSM first!");
        return;
    }
    for (int i = 1; i <= run.retentionTime.Cols(); ++i) {
        const double time = run.retentionTime.Get(1, i);
        if (time <= kNoTime) continue;
        const double index = RetentionIndexFromTime(bib.parameters, time);
        run.retentionIndex.Set(1, i, index);
        if (bib.inMemory && static_cast<size_t>(i) <= bib.memorySpectra.size()) {
            CMassSpectrum& spectrum = bib.memorySpectra[static_cast<size_t>(i - 1)];
            spectrum.retentionIndex = index;
            spectrum.retentionTime = 0;  // later calculations derive the time from the index
        }
    }
    session.SetStatus("Retention Index calibrated");
}

}  // namespace kiv
