#pragma once
// The feature commands of the interactive view ("Features" menu), each a function of the objects
// it works on; questions go through the prompter, results to the session's status line and
// message log. The batch feature generation runs the same record loop (StreamLibraryFeatures).
#include <string>

#include "base/Prompt.h"
#include "base/Session.h"
#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv {

// "Set Savemode": asks for the save mode with the current one as default. False on cancel (the
// mode is then unchanged).
bool SetSaveMode(FeatureDefinitionSet& set, CPrompter& prompter);

// "Save Features": asks for the save mode (and for the CDM mode the CDM format, "FLOAT" by
// default), then writes the whole feature matrix. Nothing happens on cancel.
void SaveFeatures(FeatureDefinitionSet& set, CPrompter& prompter);

struct FeatureStreamResult {
    bool opened = false;  // the output file was opened
    int rowsWritten = 0;  // feature rows handed to the output, one per library block
    bool stopped = false;  // a cancel or stop request ended the loop early
};

// Computes the features of every block of the library and appends each block's row, in block
// order, to the output of the set's save mode (cdmFormat for the CDM mode), so that libraries of
// any size stream to disk. The rows are computed on the threads of the library's "Threads"
// parameter (0: every core); the output is the same for any number. The names and the column
// count are learned on block 1. Progress is reported before each block's row; a cancel or the
// stop file ends the loop, and the rows so far stay written. Nothing is computed without definition lines or blocks, and nothing
// after the output failed to open. A block without a spectrum gives a row of zeros.
FeatureStreamResult StreamLibraryFeatures(CBib& bib, FeatureDefinitionSet& set, const std::string& cdmFormat,
                                          CPrompter& prompter);

// "Write Features for BIB": asks for the save mode (and the CDM format, "TEXT\t%12.5f" by
// default), streams the library's features and logs "%d features written for %d spectra" with
// the spectra actually written, or "canceled" when no output was opened.
void WriteFeaturesForBib(CBib& bib, FeatureDefinitionSet& set, CPrompter& prompter, CSession& session);

// "Calculate Features current MS": features of the current record's spectrum in a one-row
// matrix; logs "%d features generated for current MS".
void CalculateFeaturesCurrentMs(CBib& bib, FeatureDefinitionSet& set, CPrompter& prompter, CSession& session);

// "Calculate Features for BIB": the feature matrix of the whole library in memory, one row per
// block, computed on the threads of the library's "Threads" parameter (the same matrix for any
// number); logs "%d features generated for %d blocks".
void CalculateFeaturesForBib(CBib& bib, FeatureDefinitionSet& set, CPrompter& prompter, CSession& session);

// "Calculate Features for BIB_Mem": the feature matrix of the spectra held in memory (spectra:
// one spectrum per row, column m = mass m, as the mass spectral matrix of a run), computed in
// one call; an empty matrix resets the set. Logs as "Calculate Features for BIB".
void CalculateFeaturesForBibMem(CBib& bib, CMatrix& spectra, FeatureDefinitionSet& set, CPrompter& prompter,
                                CSession& session);

}  // namespace kiv
