#pragma once
// A script task "Name" or "Name(argument, argument, ...)" taken apart.
#include <string>
#include <vector>

namespace kiv {

struct TaskCall {
    std::string name;
    std::vector<std::string> arguments;  // blanks removed at both ends; empty ones count
};

// The name is the text before the first "(" when that "(" is not the first character; the
// arguments are the pieces between it and the following "," characters and the piece after the
// last ","; the last argument also loses its trailing ")" characters. Without such a "(" the
// whole text is the name. Inside an argument "\t" stands for a tab.
TaskCall SplitTask(const std::string& task);

}  // namespace kiv
