#include "ui/RunMenu.h"

#include "gcms/CharacteristicCommands.h"
#include "gcms/ForwardSearch.h"
#include "gcms/RetentionCalibration.h"
#include "gcms/RunCommands.h"
#include "gcms/Subtraction.h"
#include "gcms/TargetSearch.h"
#include "import/MemoryImport.h"

namespace kiv {

namespace {

const char* const kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

void LoadJc(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    const std::optional<std::string> file =
        prompter.ChooseFileToOpen({"loading JC ...", "*.txt", "JC Files (*.txt)|*.txt|All Files (*.*)|*.*||"});
    if (!file || !ImportJc(doc.bib, *file)) return;
    ShowLoadedRun(doc.bib, doc.chromatogram, RunSource::Import, session);
}

void LoadCosCalib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    const std::optional<std::string> file = prompter.ChooseFileToOpen({"loading CosCalib ...", "*.txt", kTextFilter});
    if (!file || !ImportCosCalib(doc.bib, {*file})) return;
    ShowLoadedRun(doc.bib, doc.chromatogram, RunSource::Import, session);
}

void LoadRunBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    if (OpenWorkingBib(doc, "", prompter, session) != FileResult::Done) return;
    ShowLoadedRun(doc.bib, doc.chromatogram, RunSource::LibraryFile, session);
}

void ImportNetcdf(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    ImportNetcdfCommand(doc.bib, "", doc.chromatogram, prompter, session);
}

void MaxMass(CKivDoc& doc, CPrompter& prompter, CSession&) { MaxMassCommand(doc.bib, prompter); }

void TraceMass(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    TraceMassCommand(doc.bib, doc.chromatogram, prompter);
    session.Redraw();
}

void TraceMassMsm(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    TraceMassFromMsmCommand(doc.bib, doc.chromatogram, prompter);
    session.Redraw();
}

void BaselineSubtraction(CKivDoc& doc, CPrompter&, CSession& session)
{
    BaselineSubtractionCommand(doc.bib, doc.chromatogram, session);
}

void CheckBaseline(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CheckBaselineCommand(doc.bib, doc.chromatogram, prompter, session);
}

void SelectCharacteristic(CKivDoc& doc, CPrompter&, CSession& session)
{
    SelectCharacteristicSpectraCommand(doc.bib, doc.chromatogram, session);
}

void SelectCharacteristic2(CKivDoc& doc, CPrompter&, CSession& session)
{
    SelectCharacteristicSpectra2Command(doc.bib, doc.chromatogram, session);
}

void ClearSelected(CKivDoc& doc, CPrompter&, CSession& session)
{
    ClearSelectedSpectraCommand(doc.chromatogram, session);
}

template <AnalyseAction action>
void Analyse(CKivDoc& doc, CPrompter&, CSession& session)
{
    AnalyseCharacteristicSpectrumCommand(doc.bib, doc.chromatogram, action, session);
}

void SelectForSubtraction(CKivDoc& doc, CPrompter&, CSession& session)
{
    SelectSpectraForSubtractionCommand(doc.bib, doc.chromatogram, session);
}

void SelectSubtractionSpectra(CKivDoc& doc, CPrompter&, CSession& session)
{
    SelectSubtractionSpectraCommand(doc.bib, doc.reference.bib, doc.chromatogram, session);
}

void SubtractCurrent(CKivDoc& doc, CPrompter&, CSession& session)
{
    SubtractCurrentSpectrumCommand(doc.bib, doc.reference.bib, doc.chromatogram, session);
}

void Subtract(CKivDoc& doc, CPrompter&, CSession& session)
{
    SubtractionCommand(doc.bib, doc.reference.bib, doc.chromatogram, session);
}

void TargetSearch(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    TargetSearchCommand(doc.bib, doc.reference.bib, doc.chromatogram, prompter, session);
}

void ForwardSearch(CKivDoc& doc, CPrompter&, CSession& session)
{
    ForwardSearchCommand(doc.bib, doc.reference.bib, doc.chromatogram, doc.forwardHits, session);
}

void UseSelectedSpectra(CKivDoc& doc, CPrompter&, CSession& session)
{
    UseSelectedSpectraCommand(doc.bib, doc.chromatogram, session);
}

void EnterRetentionIndices(CKivDoc& doc, CPrompter& prompter, CSession&)
{
    EnterRetentionIndicesCommand(doc.bib, prompter);
}

void Calibration(CKivDoc& doc, CPrompter&, CSession& session) { CalibrationCommand(doc.bib, session); }

void CalculateRetentionIndex(CKivDoc& doc, CPrompter&, CSession& session)
{
    CalculateRetentionIndexCommand(doc.bib, session);
}

}  // namespace

void AddRunMenuCommands(CommandList& commands)
{
    commands.insert(commands.end(), {
        {"BIB-GC", "loading JC ...", "JC text file", LoadJc, {}},
        {"BIB-GC", "loading CosCalib ...", "CosCalib peak list", LoadCosCalib, {}},
        {"BIB-GC", "Load BIB", "run library (.ssd)", LoadRunBib, {}},
        {"BIB-GC", "Import netCDF", "netCDF run (.cdf)", ImportNetcdf, {}},
        {"BIB-GC", "Max Mass of MS Matrix", "maximum mass", MaxMass, {}},
        {"Chromatogram", "Trace Mass", "mass", TraceMass, {}},
        {"Chromatogram", "Trace Mass of MSM", "mass", TraceMassMsm, {}},
        {"Chromatogram", "Baseline Subtraction", "", BaselineSubtraction, {}},
        {"Chromatogram", "Check Baseline", "mass", CheckBaseline, {}},
        {"Chromatogram", "Select characteristic Spectra", "", SelectCharacteristic, {}},
        {"Chromatogram", "Select characteristic Spectra 2", "", SelectCharacteristic2, {}},
        {"Chromatogram", "Clear selected Spectra", "", ClearSelected, {}},
        {"Chromatogram", "Analyse characteristic Spectrum", "", Analyse<AnalyseAction::Show>, {}},
        {"Chromatogram", "Analyse characteristic Spectrum (del)", "", Analyse<AnalyseAction::Delete>, {}},
        {"Chromatogram", "Analyse characteristic Spectrum (sel)", "", Analyse<AnalyseAction::Select>, {}},
        {"Chromatogram", "Select spectra for Subtraction", "", SelectForSubtraction, {}},
        {"Chromatogram", "Select Subtraction Spectra", "", SelectSubtractionSpectra, {}},
        {"Chromatogram", "Subtraction current spectrum", "", SubtractCurrent, {}},
        {"Chromatogram", "Subtraction", "", Subtract, {}},
        {"Chromatogram", "Target Search", "reference record number", TargetSearch, {}},
        {"Chromatogram", "Forward Search", "", ForwardSearch, {}},
        {"Retention", "Use selected spectra", "", UseSelectedSpectra, {}},
        {"Retention", "Enter Retention Indices", "retention index of every point", EnterRetentionIndices, {}},
        {"Retention", "Calibration", "", Calibration, {}},
        {"Retention", "Calculate Retention Index", "", CalculateRetentionIndex, {}},
    });
}

}  // namespace kiv
