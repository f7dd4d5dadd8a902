#pragma once
// Script files: text files whose "DO:" lines are tasks for the script executor.
#include <deque>
#include <string>

#include "base/Prompt.h"

namespace kiv {

enum class ScriptLoad { Loaded = 0, NoFileChosen = 1, CannotOpen = 2 };

// Reads the script at path (an empty path asks with the file dialog "Load Script File:") and
// appends its tasks to the queue. Each line is cut at the first "//" and trimmed; a line that
// starts with "DO:" in any letter case is a task, the rest of the line without leading blanks.
// Lines of any length up to 65,535 characters are read whole.
ScriptLoad LoadScript(const std::string& path, CPrompter& prompter, std::deque<std::string>& queue);

}  // namespace kiv
