#pragma once
// The batch tasks the program can run. A task that is not in the table behaves as no task.
#include "batch/BatchRun.h"
#include "batch/TaskSelection.h"

namespace kiv {

using TaskFunction = void (*)(CBatchRun& run);

// The function that runs the task, or nullptr when the program has none for it.
TaskFunction FindTask(TaskKind kind);

}  // namespace kiv
