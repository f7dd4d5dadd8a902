#pragma once
// The batch program: reads a command file, runs the one task it describes, and talks to the
// driving program through three files: the progress file (last percentage, or -1 after a stop
// request), the stop file (its appearance requests a stop) and the end marker (written last).
#include <string>

namespace kiv {

struct CommandRunResult {
    bool commandFileRead = false;
    int status = 1;  // the run status the end marker reports: 0 done, 1 no task, -1 stopped
};

CommandRunResult RunCommandFile(const std::string& path);

}  // namespace kiv
