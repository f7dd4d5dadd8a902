#include "batch/TaskTable.h"

#include "batch/HitStatistics.h"

namespace kiv {

namespace {

struct TaskEntry {
    TaskKind kind;
    TaskFunction run;
};

const TaskEntry kTasks[] = {
    {TaskKind::HitStatistics, RunHitStatistics},
};

}  // namespace

TaskFunction FindTask(TaskKind kind)
{
    for (const TaskEntry& entry : kTasks) {
        if (entry.kind == kind) return entry.run;
    }
    return nullptr;
}

}  // namespace kiv
