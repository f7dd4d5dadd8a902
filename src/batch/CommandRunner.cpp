#include "batch/CommandRunner.h"

#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "batch/BatchRun.h"
#include "batch/TaskTable.h"

namespace kiv {

namespace {

void WriteEndMarker(const std::string& path, int status)
{
    CTextWriter marker;
    if (!marker.Open(path)) return;
    if (status == kRunCompleted) {
        marker.Write("1\n");
    } else if (status == kRunNoTask) {
        marker.Write("Command file not recognized!\n");
    } else {
        marker.Print("%d\n", status);
    }
}

}  // namespace

CommandRunResult RunCommandFile(const std::string& path)
{
    CBatchRun run;
    if (!ReadCommandFile(path, run.settings)) return {};
    run.parameters.SetDefaults();
    if (run.settings.simFeatSelGiven) {
        run.parameters.simFeatSelText = run.settings.simFeatSelText;
        run.parameters.simFeatSel = run.settings.simFeatSel;
    }

    if (FileExists(run.settings.semEndFile)) RemoveFile(run.settings.semEndFile);
    OpenProgress(run.settings.progressFile, run.settings.stopFile);
    TaskFunction task = FindTask(ChooseTask(run.settings));
    if (task) {
        task(run);
    } else {
        ReportRunTimeError("No task recognized!");
    }
    CloseProgress();
    WriteEndMarker(run.settings.semEndFile, run.status);
    return {true, run.status};
}

}  // namespace kiv
