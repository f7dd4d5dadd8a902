#pragma once
// The script executor: a queue of task strings run one per tick of a one-second timer, with a
// progress window whose Cancel (or the stop file) ends the sequence. The desktop drives it with
// its timer; the headless runner and tests call OnTaskTimer themselves.
#include <deque>
#include <functional>
#include <string>

#include "base/Prompt.h"
#include "base/Session.h"

namespace kiv {

// The view's repeating timer. Start returns false when the timer cannot be created.
class CTaskTimer {
public:
    virtual ~CTaskTimer() = default;
    virtual bool Start(int id, int periodMs) = 0;
};

// Opens and closes the progress window that shows the running task (the desktop's modeless
// progress dialog; nothing without a desktop, where the stop file still cancels).
class CProgressWindow {
public:
    virtual ~CProgressWindow() = default;
    virtual void Open(const std::string& text) = 0;
    virtual void Close() = 0;
};

enum class ExecutorState { Idle = 0, StartRequested = 1, BetweenTasks = 2, Executing = 10 };

class CTaskExecutor {
public:
    using TaskFunction = std::function<int(const std::string& task)>;

    CTaskExecutor(TaskFunction execute, CSession& session, CProgressWindow* window = nullptr);

    // Starts the timer (id 1337, else 111337; "Timer not available" when neither can be made)
    // and empties the queue. Returns false without a timer.
    bool SetUp(CTaskTimer& timer);
    // "Run Script ...": loads the script (an empty path asks) and requests the start of the
    // sequence ("Script OK.") or reports "Script Error.". Returns true when it loaded.
    bool RunScript(const std::string& path, CPrompter& prompter);
    // One timer tick: starts the sequence, runs the next task, or only counts the tick.
    void OnTaskTimer();

    ExecutorState State() const { return state_; }
    const std::deque<std::string>& Queue() const { return queue_; }
    int Ticks() const { return ticks_; }

private:
    void Finish();

    TaskFunction execute_;
    CSession& session_;
    CProgressWindow* window_;
    std::deque<std::string> queue_;
    ExecutorState state_ = ExecutorState::Idle;
    int total_ = 0;
    int ticks_ = 0;
};

}  // namespace kiv
