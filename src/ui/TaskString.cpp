#include "ui/TaskString.h"

namespace kiv {

namespace {

std::string TrimBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string ExpandTabs(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

TaskCall SplitTask(const std::string& task)
{
    TaskCall call;
    const size_t open = task.find('(');
    if (open == std::string::npos || open == 0) {
        call.name = task;
        return call;
    }
    call.name = task.substr(0, open);
    size_t start = open + 1;
    while (true) {
        const size_t comma = task.find(',', start);
        const bool last = comma == std::string::npos;
        std::string piece = TrimBlanks(task.substr(start, last ? std::string::npos : comma - start));
        if (last) {
            while (!piece.empty() && piece.back() == ')') piece.pop_back();
            piece = TrimBlanks(piece);
        }
        call.arguments.push_back(ExpandTabs(piece));
        if (last) break;
        start = comma + 1;
    }
    return call;
}

}  // namespace kiv
