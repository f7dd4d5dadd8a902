#pragma once
// The batch import task: JCAMP-DX ("Import JCAMP") or CosCalib ("Import COSCALIB") input files
// into the library named by "BIB File".
#include "batch/BatchRun.h"
#include "library/Bib.h"

namespace kiv {

void RunImportTask(CBatchRun& run);

// The import step that opens a feature generation: with "Import JCAMP" the library of "BIB File"
// is built anew (type "MS") from the input files before features are computed; otherwise nothing
// is imported. bib is the run's library object.
void ImportBeforeFeatures(CBatchRun& run, CBib& bib);

}  // namespace kiv
