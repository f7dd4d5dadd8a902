#include "batch/ImportTask.h"

#include "import/LibraryImport.h"

namespace kiv {

void RunImportTask(CBatchRun& run)
{
    run.status = kRunCompleted;
    CBib bib;
    bib.parameters = run.parameters;
    const ImportOutcome outcome =
        RunLibraryImport(bib, run.settings.importKind, run.settings.inputFiles, run.settings.bibFile, &run.log);
    run.stopped = run.stopped || outcome.stopped;
}

void ImportBeforeFeatures(CBatchRun& run, CBib& bib)
{
    const ImportOutcome outcome =
        ImportForFeatureGeneration(bib, run.settings.importKind, run.settings.inputFiles, run.settings.bibFile, &run.log);
    run.stopped = run.stopped || outcome.stopped;
}

}  // namespace kiv
