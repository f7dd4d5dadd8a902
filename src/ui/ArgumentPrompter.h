#pragma once
// A prompter that answers a command's prompts and file dialogs with a script task's arguments,
// in the order the command asks: a file dialog takes the next argument as its path, a prompt
// takes it as the value typed. Once the arguments run out, a prompt keeps its current value and
// a file dialog is cancelled; an empty argument cancels a file dialog too.
#include <string>
#include <vector>

#include "base/Prompt.h"

namespace kiv {

class CArgumentPrompter : public CPrompter {
public:
    explicit CArgumentPrompter(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

    PromptAnswer Ask(const PromptRequest& request) override;
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override;

    // Arguments that no prompt or dialog asked for.
    size_t Unused() const { return arguments_.size() - next_; }

private:
    std::optional<std::string> NextArgument();
    std::optional<std::string> NextPath();

    std::vector<std::string> arguments_;
    size_t next_ = 0;
};

}  // namespace kiv
