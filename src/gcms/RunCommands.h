#pragma once
// The run commands of the chromatogram menu: what follows the loading of a run, the MSM size,
// mass traces and the baseline commands. Each works on the run's library and the chromatogram
// page data; questions go through the prompter, results to the session.
#include <string>

#include "base/Prompt.h"
#include "base/Session.h"
#include "gcms/Chromatogram.h"
#include "library/Bib.h"

namespace kiv {

// Where a run came from: an importer (JC text, CosCalib) or a library file ("Load BIB").
enum class RunSource { Import, LibraryFile };

// After a run was loaded: computes the run data when missing (status "MSM Calculation done" or
// "BIB loaded MSM Calculation done"), shows its chromatogram and makes scan 1 current.
void ShowLoadedRun(CBib& bib, CChromatogram& chromatogram, RunSource source, CSession& session);

// "Import netCDF": asks for a netCDF run (an empty path asks), imports it into the library held in
// memory and shows it as a loaded run. False when nothing was imported (reported).
bool ImportNetcdfCommand(CBib& bib, const std::string& path, CChromatogram& chromatogram, CPrompter& prompter,
                         CSession& session);

// "Max Mass of MS Matrix": asks for the MSM maximum mass (presets 550 and 1000); it takes effect
// at the next MSM calculation. A mass outside 1..65535 is refused and the old one kept.
void MaxMassCommand(CBib& bib, CPrompter& prompter);

// The two trace-mass commands: ask for a mass and add its trace ("Trace Mass %d in
// chromatogram"). The second one insists on the MSM: without it "Calculate MSM" is reported and
// the trace is read from the records.
void TraceMassCommand(CBib& bib, CChromatogram& chromatogram, CPrompter& prompter);
void TraceMassFromMsmCommand(CBib& bib, CChromatogram& chromatogram, CPrompter& prompter);

// "Baseline Subtraction": corrects every mass of the run and shows the changed chromatogram.
void BaselineSubtractionCommand(CBib& bib, CChromatogram& chromatogram, CSession& session);
// "Check Baseline": asks for a mass and adds its baseline as a trace; nothing is changed.
void CheckBaselineCommand(CBib& bib, CChromatogram& chromatogram, CPrompter& prompter, CSession& session);

}  // namespace kiv
