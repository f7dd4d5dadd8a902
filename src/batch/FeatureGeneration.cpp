#include "batch/FeatureGeneration.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Prompt.h"
#include "base/Reporter.h"
#include "batch/ImportTask.h"
#include "features/FeatureCommands.h"
#include "features/FeatureDefinitionSet.h"

namespace kiv {

void RunFeatureGeneration(CBatchRun& run)
{
    run.status = kRunCompleted;
    const CRunSettings& settings = run.settings;
    CBib bib;
    bib.parameters = run.parameters;
    bib.parameters.threads = settings.threads;
    // Step 1 with "Import JCAMP" or "Import MSP": the importers build the library first
    // (import kind 1 imports nothing here).
    if (settings.importKind == ImportKind::Jcamp || settings.importKind == ImportKind::Msp) {
        ImportBeforeFeatures(run, bib);
    }
    // A stop during that import ends the task before any feature is computed.
    if (run.stopped) return;

    FeatureDefinitionSet set;
    set.definitionFile = settings.featureFile;
    set.outputFile = settings.resultFile;
    set.saveMode = settings.saveMode;

    // The index before the header: a library just written carries the block count 0 in its
    // header until the first open rebuilds the index and puts the true count there.
    if (bib.Open(WithoutLast(settings.bibFile, 4)) == FileResult::Done) {
        bib.OpenIndex();
        bib.ReadHeader();
    }

    set.LoadDefinitions();
    set.featureQuantisation = settings.roundFeat;

    CHeadlessPrompter prompter;
    const FeatureStreamResult result = StreamLibraryFeatures(bib, set, settings.cdmFormat, prompter);
    // The rows before the stop stay written; the driving program learns of the stop from the
    // exit status.
    run.stopped = result.stopped;
    // Without this the driving program would find the end marker "1" and no feature file.
    if (!result.opened && !set.lines.empty() && bib.header.blockCount > 0) {
        ReportRunTimeError(Format("Feature file %s cannot be created", settings.resultFile.c_str()));
    }
    bib.Close();
}

}  // namespace kiv
