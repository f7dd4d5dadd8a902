#pragma once
// The state of one batch run: the command file's settings, the parameter set that the run's
// library object starts from, the run status that the end marker reports, whether a stop request
// ended the task, and the log lines of the task (the number of spectra of each imported file).
#include "base/Session.h"
#include "batch/CommandFile.h"
#include "settings/Parameters.h"

namespace kiv {

enum RunStatus : int {
    kRunStopped = -1,  // a stop request ended an evaluation loop
    kRunCompleted = 0,  // a task started (and ran to its end)
    kRunNoTask = 1,  // no task started
};

struct CBatchRun {
    CRunSettings settings;
    CParameters parameters;  // defaults, with the command file's "Sim Feat Sel"
    int status = kRunNoTask;
    // A stop request ended the task. The import and the feature generation keep the status 0
    // (their end marker stays "1"); the exit status tells the stop all the same.
    bool stopped = false;
    CRecordingSession log;
};

}  // namespace kiv
