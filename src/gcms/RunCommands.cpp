#include "gcms/RunCommands.h"

#include "base/Format.h"
#include "base/Reporter.h"
#include "gcms/Baseline.h"
#include "gcms/Msm.h"
#include "import/netcdf/NetcdfImport.h"

namespace kiv {

namespace {

constexpr int kDefaultTraceMass = 43;

void AddMassTrace(CBib& bib, CChromatogram& chromatogram, int mass)
{
    chromatogram.AddTrace(MassTrace(bib, mass), Format("Trace Mass %d in chromatogram", mass));
}

int AskTraceMass(CPrompter& prompter)
{
    return AskInteger(prompter, "Trace Mass in chromatogram:", kDefaultTraceMass);
}

}  // namespace

void ShowLoadedRun(CBib& bib, CChromatogram& chromatogram, RunSource source, CSession& session)
{
    EnsureMSM(bib);
    session.SetStatus(source == RunSource::Import ? "MSM Calculation done" : "BIB loaded MSM Calculation done");
    ShowRun(bib, chromatogram);
    chromatogram.currentScan = ScanCount(bib) > 0 ? 1 : 0;
    bib.SelectBlock(chromatogram.currentScan);
    session.Redraw();
}

bool ImportNetcdfCommand(CBib& bib, const std::string& path, CChromatogram& chromatogram, CPrompter& prompter,
                         CSession& session)
{
    std::string file = path;
    if (file.empty()) {
        const std::optional<std::string> chosen = prompter.ChooseFileToOpen(
            {"Import netCDF GC-MS run:", "*.cdf", "netCDF Files (*.cdf;*.nc)|*.cdf;*.nc|All Files (*.*)|*.*||"});
        if (!chosen) return false;
        file = *chosen;
    }
    session.SetStatus("loading netCDF ...");
    const bool imported = ImportNetcdf(bib, file);
    ShowLoadedRun(bib, chromatogram, RunSource::Import, session);
    return imported;
}

void MaxMassCommand(CBib& bib, CPrompter& prompter)
{
    const int mass = AskInteger(prompter, "Enter Max Mass of MS Matrix:", bib.parameters.msmMaxMass,
                                {{"GCMS 550", "550"}, {"MS 1000", "1000"}});
    if (mass >= 1 && mass <= kHeaviestMass) bib.parameters.msmMaxMass = mass;
}

void TraceMassCommand(CBib& bib, CChromatogram& chromatogram, CPrompter& prompter)
{
    AddMassTrace(bib, chromatogram, AskTraceMass(prompter));
}

void TraceMassFromMsmCommand(CBib& bib, CChromatogram& chromatogram, CPrompter& prompter)
{
    const int mass = AskTraceMass(prompter);
    if (!bib.run.msmComputed) ReportRunTimeError("Calculate MSM");
    AddMassTrace(bib, chromatogram, mass);
}

void BaselineSubtractionCommand(CBib& bib, CChromatogram& chromatogram, CSession& session)
{
    session.SetStatus("Calculating Baseline ...");
    std::string status;
    CorrectBaseline(bib, 0, status);
    session.Log(status);
    ShowRun(bib, chromatogram);
    session.SetStatus("Baseline Correction done");
    session.Redraw();
}

void CheckBaselineCommand(CBib& bib, CChromatogram& chromatogram, CPrompter& prompter, CSession& session)
{
    const int mass = AskInteger(prompter, "Check Baseline Subtraction in chromatogram\nSelect mass:", kDefaultTraceMass);
    std::string status;
    const CMatrix baseline = CorrectBaseline(bib, mass, status);
    chromatogram.AddTrace(baseline, Format("Show Baseline of Mass %d in chromatogram", mass));
    session.SetStatus(status);
    session.Redraw();
}

}  // namespace kiv
