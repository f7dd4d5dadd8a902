#include "ui/ArgumentPrompter.h"

namespace kiv {

std::optional<std::string> CArgumentPrompter::NextArgument()
{
    if (next_ >= arguments_.size()) return std::nullopt;
    return arguments_[next_++];
}

std::optional<std::string> CArgumentPrompter::NextPath()
{
    std::optional<std::string> path = NextArgument();
    if (path && path->empty()) return std::nullopt;
    return path;
}

PromptAnswer CArgumentPrompter::Ask(const PromptRequest& request)
{
    std::optional<std::string> value = NextArgument();
    return {true, value && !value->empty() ? *value : request.valueText};
}

std::optional<std::string> CArgumentPrompter::ChooseFileToOpen(const FileRequest&) { return NextPath(); }

std::optional<std::string> CArgumentPrompter::ChooseFileToSave(const FileRequest&) { return NextPath(); }

}  // namespace kiv
