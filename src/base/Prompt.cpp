#include "base/Prompt.h"

#include "base/Format.h"
#include "base/Numbers.h"

namespace kiv {

namespace {

// Shows the prompt; nothing when cancelled or when the user left the initial text as it was.
std::optional<std::string> AskChanged(CPrompter& prompter, const std::string& prompt, const std::string& valueText,
                                      std::vector<PromptPreset> presets, bool& cancelled)
{
    for (PromptPreset& preset : presets) {
        if (preset.value.empty()) preset.value = valueText;
    }
    if (presets.size() > 8) presets.resize(8);
    PromptAnswer answer = prompter.Ask({prompt, valueText, std::move(presets)});
    cancelled = !answer.accepted;
    if (!answer.accepted || answer.text == valueText) return std::nullopt;
    return answer.text;
}

}  // namespace

int AskIntegerOrCancel(CPrompter& prompter, const std::string& prompt, int current, int& cancelled,
                       std::vector<PromptPreset> presets)
{
    bool wasCancelled = false;
    auto text = AskChanged(prompter, prompt, Format("%d", current), std::move(presets), wasCancelled);
    cancelled = wasCancelled ? 1 : 0;
    return text ? ParseInt(*text) : current;
}

int AskInteger(CPrompter& prompter, const std::string& prompt, int current, std::vector<PromptPreset> presets)
{
    int cancelled = 0;
    return AskIntegerOrCancel(prompter, prompt, current, cancelled, std::move(presets));
}

double AskReal(CPrompter& prompter, const std::string& prompt, double current, std::vector<PromptPreset> presets)
{
    bool cancelled = false;
    auto text = AskChanged(prompter, prompt, Format("%f", current), std::move(presets), cancelled);
    return text ? ParseReal(*text) : current;
}

std::string AskText(CPrompter& prompter, const std::string& prompt, const std::string& current,
                    std::vector<PromptPreset> presets)
{
    bool cancelled = false;
    auto text = AskChanged(prompter, prompt, current, std::move(presets), cancelled);
    return text ? *text : current;
}

AxisRange AskAxisRange(CPrompter& prompter, AxisRange current)
{
    AxisRange range;
    range.xMin = AskReal(prompter, "Entern X-Axis minimum:", current.xMin);
    range.xMax = AskReal(prompter, "Entern X-Axis maximum:", current.xMax);
    range.yMin = AskReal(prompter, "Entern Y-Axis minimum:", current.yMin);
    range.yMax = AskReal(prompter, "Entern Y-Axis maximum:", current.yMax);
    return range;
}

}  // namespace kiv
