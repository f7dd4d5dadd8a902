#include "gcms/TargetSearch.h"

#include "base/Format.h"
#include "base/Reporter.h"
#include "gcms/Msm.h"
#include "gcms/ReferenceLibrary.h"
#include "gcms/RetentionWindow.h"

namespace kiv {

CMatrix TargetChromatogram(const CBib& run, const CBibRecord& reference, const CFitSettings& settings)
{
    const int n = run.run.msm.Rows();
    CMatrix target(1, n);
    target.Fill(kOutsideWindow);
    const ScanRange window = ScanWindow(run.run, run.parameters, reference.spectrum.retentionIndex);
    if (window.illegal) ReportRunTimeError("Illegal retention time range!");
    for (int s = window.first; s <= window.last && s <= n; ++s) {
        target.Set(1, s, FitSpectrum(run.run, s, reference.spectrum.vector, settings).fitTic);
    }
    return target;
}

void TargetSearchCommand(CBib& run, CBib& reference, CChromatogram& chromatogram, CPrompter& prompter,
                         CSession& session)
{
    if (!CheckReferenceLibrary(reference)) return;
    const int number = AskInteger(prompter, "Enter # of Referece Spectrum:", 1);
    if (number < 1 || number > reference.header.blockCount) {
        ReportRunTimeError("Not enough spectra in Reference BIB!");
        return;
    }
    EnsureMSM(run);
    SelectRunRecord(reference, number);
    const CBibRecord& record = reference.record;
    chromatogram.AddTrace(TargetChromatogram(run, record), Format("Target Chromatogram for #%d", number));
    chromatogram.text.push_back(Format("Origin: %s %d", record.name.origin.c_str(), record.name.originNumber));
    chromatogram.text.push_back(Format("Name: %s", record.name.name.c_str()));
    session.Redraw();
}

}  // namespace kiv
