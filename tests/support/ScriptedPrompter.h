#pragma once
// A prompter that plays back scripted answers and file choices and records every question.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/Prompt.h"

namespace kiv::test {

class CScriptedPrompter : public CPrompter {
public:
    PromptAnswer Ask(const PromptRequest& request) override
    {
        prompts.push_back(request);
        if (answers.empty()) return {true, request.valueText};
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override { return Choose(request); }
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override { return Choose(request); }

    // Queues an accepted answer with the given text.
    void Answer(const std::string& text) { answers.push_back({true, text}); }

    std::deque<PromptAnswer> answers;  // nothing left: the initial value is accepted
    std::deque<std::optional<std::string>> files;  // nothing left: no file chosen
    std::vector<PromptRequest> prompts;
    std::vector<FileRequest> fileRequests;

private:
    std::optional<std::string> Choose(const FileRequest& request)
    {
        fileRequests.push_back(request);
        if (files.empty()) return std::nullopt;
        std::optional<std::string> file = files.front();
        files.pop_front();
        return file;
    }
};

}  // namespace kiv::test
