#include "ui/ScriptRunner.h"

#include "base/Prompt.h"
#include "ui/ScriptCommands.h"
#include "ui/TaskExecutor.h"

namespace kiv {

void CConsoleSession::SetStatus(const std::string& text)
{
    std::fprintf(out_, "Status: %s\n", text.c_str());
    std::fflush(out_);
}

void CConsoleSession::Log(const std::string& line)
{
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
}

void CConsoleSession::CopyText(const std::string& text)
{
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

bool RunScriptHeadless(CKivDoc& doc, const std::string& path, CSession& session)
{
    bool allRan = true;
    CTaskExecutor executor(
        [&](const std::string& task) {
            const int result = ExecuteTask(doc, task, session);
            if (result != 0) allRan = false;
            return result;
        },
        session);
    CHeadlessPrompter prompter;
    if (!executor.RunScript(path, prompter)) return false;
    while (executor.State() != ExecutorState::Idle) executor.OnTaskTimer();
    return allRan;
}

}  // namespace kiv
