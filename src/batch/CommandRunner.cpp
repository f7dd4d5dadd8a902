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

// Counts the errors reported while it is alive and hands every report on to the reporter it
// replaced, so that the exit status can tell a run with errors from a clean one.
class CErrorCounter : public CReporter {
public:
    CErrorCounter() : previous_(SetReporter(this)) {}
    ~CErrorCounter() override { SetReporter(previous_); }
    CErrorCounter(const CErrorCounter&) = delete;
    CErrorCounter& operator=(const CErrorCounter&) = delete;
    void Report(ErrorKind kind, const std::string& message) override
    {
        ++count;
        if (previous_) previous_->Report(kind, message);
    }
    int count = 0;

private:
    CReporter* previous_;
};

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
    int errors = 0;
    if (task) {
        CErrorCounter counter;
        task(run);
        errors = counter.count;
    } else {
        ReportRunTimeError("No task recognized!");
    }
    CloseProgress();
    WriteEndMarker(run.settings.semEndFile, run.status);
    return {true, run.status, run.stopped || run.status == kRunStopped, errors, run.log.log};
}

int ExitStatusOf(const CommandRunResult& result)
{
    if (!result.commandFileRead) return 2;
    if (result.stopped) return 3;
    if (result.status == kRunNoTask) return 1;
    return result.errorsReported > 0 ? 4 : 0;
}

}  // namespace kiv
