#pragma once
// The batch feature generation: the mass-spectral features of every block of the library named
// by "BIB File", computed with the definitions of "Feature File" and written to "Result File" in
// the save mode of "Savemode" ("CDM Format" for the CDM mode, "Round Feat" 10 for values rounded
// to 256 levels), one row per block. The progress file and the stop file are served between
// blocks; a stop request ends the loop with the rows so far written and marks the run as
// stopped. "Threads" sets the threads that compute the rows (0: every core); the file is the
// same for any number. With "Import JCAMP" the library is first built anew from the input files.
#include "batch/BatchRun.h"
#include "library/Bib.h"

namespace kiv {

void RunFeatureGeneration(CBatchRun& run);

}  // namespace kiv
