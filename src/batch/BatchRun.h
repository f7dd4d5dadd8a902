#pragma once
// The state of one batch run: the command file's settings, the parameter set that the run's
// library object starts from, and the run status that the end marker reports.
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
};

}  // namespace kiv
