#include "batch/ImportTask.h"

#include "import/ImportTasks.h"

namespace kiv {

void RunImportTask(CBatchRun& run)
{
    run.status = kRunCompleted;
    CBib bib;
    bib.parameters = run.parameters;
    RunLibraryImport(bib, static_cast<int>(run.settings.importKind), run.settings.inputFiles, run.settings.bibFile);
}

void ImportBeforeFeatures(CBatchRun& run, CBib& bib)
{
    ImportForFeatureGeneration(bib, static_cast<int>(run.settings.importKind), run.settings.inputFiles,
                               run.settings.bibFile);
}

}  // namespace kiv
