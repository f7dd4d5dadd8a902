#pragma once
// The batch program: reads a command file, runs the one task it describes, and talks to the
// driving program through three files: the progress file (last percentage, or -1 after a stop
// request), the stop file (its appearance requests a stop) and the end marker (written last).
#include <string>
#include <vector>

namespace kiv {

struct CommandRunResult {
    bool commandFileRead = false;
    int status = 1;  // the run status the end marker reports: 0 done, 1 no task, -1 stopped
    bool stopped = false;  // a stop request ended the task (whatever the end marker says)
    int errorsReported = 0;  // errors the task reported while it ran
    std::vector<std::string> log;  // what the task logged (the spectra of each imported file)
};

CommandRunResult RunCommandFile(const std::string& path);

// The exit status of the program for a run: 0 a task ran to its end, 1 no task was recognised,
// 2 the command file could not be read, 3 a stop request ended the task, 4 the task ran but
// reported an error.
int ExitStatusOf(const CommandRunResult& result);

}  // namespace kiv
