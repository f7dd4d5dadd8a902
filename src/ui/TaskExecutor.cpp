#include "ui/TaskExecutor.h"

#include "base/Progress.h"
#include "base/Reporter.h"
#include "ui/ScriptFile.h"

namespace kiv {

namespace {

constexpr int kTimerId = 1337;
constexpr int kSpareTimerId = 111337;
constexpr int kTimerPeriodMs = 1000;
constexpr int kStopRequested = 2;

std::string TaskText(const std::string& task)
{
    return "executing task\n" + task + "\n...";
}

}  // namespace

CTaskExecutor::CTaskExecutor(TaskFunction execute, CSession& session, CProgressWindow* window)
    : execute_(std::move(execute)), session_(session), window_(window)
{
}

bool CTaskExecutor::SetUp(CTaskTimer& timer)
{
    queue_.clear();
    state_ = ExecutorState::Idle;
    ticks_ = 0;
    if (timer.Start(kTimerId, kTimerPeriodMs) || timer.Start(kSpareTimerId, kTimerPeriodMs)) return true;
    ReportRunTimeError("Timer not available");
    return false;
}

bool CTaskExecutor::RunScript(const std::string& path, CPrompter& prompter)
{
    if (LoadScript(path, prompter, queue_) != ScriptLoad::Loaded) {
        session_.SetStatus("Script Error.");
        return false;
    }
    session_.SetStatus("Script OK.");
    state_ = ExecutorState::StartRequested;
    return true;
}

void CTaskExecutor::OnTaskTimer()
{
    if (state_ == ExecutorState::StartRequested) {
        total_ = static_cast<int>(queue_.size());
        if (total_ == 0) return Finish();
        if (window_ != nullptr) window_->Open(TaskText(queue_.front()));
        state_ = ExecutorState::BetweenTasks;
    } else if (state_ == ExecutorState::BetweenTasks) {
        if (queue_.empty()) return Finish();
    } else {
        ++ticks_;
        return;
    }
    session_.Redraw();
    const std::string task = queue_.front();
    session_.SetStatus("Task " + task);
    state_ = ExecutorState::Executing;
    execute_(task);
    // A task may have loaded another script into the queue; it appended behind this task.
    if (!queue_.empty()) queue_.pop_front();
    const int done = total_ - static_cast<int>(queue_.size());
    if (ReportProgress(total_ > 0 ? done * 100 / total_ : 100, TaskText(task)) == kStopRequested) {
        queue_.clear();
        session_.SetStatus("Task Canceled.");
        return Finish();
    }
    state_ = ExecutorState::BetweenTasks;
}

void CTaskExecutor::Finish()
{
    session_.Redraw();
    session_.SetStatus("Task finished.");
    state_ = ExecutorState::Idle;
    if (window_ != nullptr) window_->Close();
}

}  // namespace kiv
