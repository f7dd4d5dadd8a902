#pragma once
// Questions to the user: the modal value prompt with up to eight preset buttons, and the
// file-open / file-save dialogs. Commands take a CPrompter and ask through the Ask operations;
// the desktop front end implements the dialogs, batch runs and tests use CHeadlessPrompter.
#include <optional>
#include <string>
#include <vector>

namespace kiv {

struct PromptPreset {
    std::string caption;
    std::string value;  // empty: the button enters the initial value text
};

struct PromptRequest {
    std::string prompt;  // lines separated by "\n", columns by "\t"
    std::string valueText;  // initial contents of the edit field
    std::vector<PromptPreset> presets;  // at most eight
};

struct PromptAnswer {
    bool accepted = false;  // "OK" or a preset button; false for "Cancel"
    std::string text;  // the edit field's text when accepted
};

struct FileRequest {
    std::string title;
    std::string defaultExtension;  // e.g. "*.ini"
    std::string filter;  // e.g. "Ini Files (*.ini)|*.ini|All Files (*.*)|*.*||"
    bool askBeforeOverwrite = false;  // save dialogs only
};

class CPrompter {
public:
    virtual ~CPrompter() = default;
    virtual PromptAnswer Ask(const PromptRequest& request) = 0;
    // The chosen path, or nothing when no file was chosen.
    virtual std::optional<std::string> ChooseFileToOpen(const FileRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileRequest& request) = 0;
};

// Answers every prompt with its current value and every file dialog with "no file chosen".
class CHeadlessPrompter : public CPrompter {
public:
    PromptAnswer Ask(const PromptRequest& request) override { return {true, request.valueText}; }
    std::optional<std::string> ChooseFileToOpen(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave(const FileRequest&) override { return std::nullopt; }
};

// Each returns the current value on "Cancel". An answer whose text is the unchanged initial text
// also returns the current value exactly, so that "%f" display rounding never alters a value the
// user did not touch.
int AskInteger(CPrompter& prompter, const std::string& prompt, int current,
               std::vector<PromptPreset> presets = {});
// cancelled becomes 1 on "Cancel", else 0.
int AskIntegerOrCancel(CPrompter& prompter, const std::string& prompt, int current, int& cancelled,
                       std::vector<PromptPreset> presets = {});
double AskReal(CPrompter& prompter, const std::string& prompt, double current,
               std::vector<PromptPreset> presets = {});
std::string AskText(CPrompter& prompter, const std::string& prompt, const std::string& current,
                    std::vector<PromptPreset> presets = {});

struct AxisRange {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};
// Asks the four limits one after the other; each keeps its value on "Cancel".
AxisRange AskAxisRange(CPrompter& prompter, AxisRange current);

}  // namespace kiv
