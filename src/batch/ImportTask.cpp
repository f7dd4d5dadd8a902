#include "batch/ImportTask.h"

#include "import/LibraryImport.h"

namespace kiv {

void RunImportTask(CBatchRun& run)
{
    run.status = kRunCompleted;
    CBib bib;
    bib.parameters = run.parameters;
    RunLibraryImport(bib, run.settings.importKind, run.settings.inputFiles, run.settings.bibFile);
}

void ImportBeforeFeatures(CBatchRun& run, CBib& bib)
{
    ImportForFeatureGeneration(bib, run.settings.importKind, run.settings.inputFiles,
                               run.settings.bibFile);
}

}  // namespace kiv
