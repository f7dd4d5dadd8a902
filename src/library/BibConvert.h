#pragma once
// "Convert BIB": rewrites libraries with their peak-list spectra turned into nominal-mass
// vectors. Accurate masses are first corrected for the instrument's mass scale
// (r = (m - MS_mmfa) / MS_mmff) and rounded to the nominal mass; the deviation from it tells
// inorganic ions (negative mass defect) from organic ones (positive), which the MS_spectrum
// mode uses to keep all peaks, both kinds within the tolerance, only one kind, or only the
// peaks outside the tolerance.
#include <string>
#include <vector>

#include "base/MessageLog.h"
#include "settings/Parameters.h"
#include "library/Bib.h"
#include "library/MassSpectrum.h"

namespace kiv {

// Converts one spectrum as the parameters say (MS_m_vector 1: peak list to vector; anything
// else, or a spectrum already in vector form: unchanged).
void ConvertSpectrum(CMassSpectrum& spectrum, const CParameters& parameters);

// Shows the conversion settings in the log and asks for the MS_spectrum mode. Returns false
// when the user aborts (choice 0, "Cancel" or a choice outside 0..5).
bool ConfirmConvertOptions(CParameters& parameters, CPrompter& prompter, MessageLog& log);

// Converts the input libraries (asked for when the list is empty) into one new library at
// outputPath (asked for when empty), using bib's parameter set. Returns Done, NoFileChosen, or
// CannotOpen after a reported error or a stop (the blocks written so far stay in the output).
// status receives the texts shown while the command runs ("converting ...", "Conversion done").
FileResult ConvertBib(CBib& bib, std::vector<std::string> inputs, const std::string& outputPath, MessageLog& log,
               std::string& status);

}  // namespace kiv
