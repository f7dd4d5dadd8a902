#include <gtest/gtest.h>

#include "base/Prompt.h"

using namespace kiv;

namespace {

// Answers with a scripted reply and remembers what it was asked.
class CScriptedPrompter : public CHeadlessPrompter {
public:
    PromptAnswer Ask(const PromptRequest& request) override
    {
        asked.push_back(request);
        if (pressPreset >= 0) return {true, request.presets[pressPreset].value};
        return reply;
    }
    PromptAnswer reply{true, ""};
    int pressPreset = -1;
    std::vector<PromptRequest> asked;
};

}  // namespace

TEST(Prompt, AnswersAndCancel)
{
    CScriptedPrompter prompter;
    prompter.reply = {true, "42x"};
    EXPECT_EQ(AskInteger(prompter, "n?", 3), 42);
    EXPECT_EQ(prompter.asked.back().valueText, "3");
    prompter.reply = {true, "abc"};
    EXPECT_EQ(AskInteger(prompter, "n?", 3), 0);
    prompter.reply = {false, "17"};
    int cancelled = 0;
    EXPECT_EQ(AskIntegerOrCancel(prompter, "n?", 3, cancelled), 3);
    EXPECT_EQ(cancelled, 1);
    prompter.reply = {true, "17"};
    EXPECT_EQ(AskIntegerOrCancel(prompter, "n?", 3, cancelled), 17);
    EXPECT_EQ(cancelled, 0);
    prompter.reply = {true, " 2.5"};
    EXPECT_DOUBLE_EQ(AskReal(prompter, "x?", 1.0), 2.5);
    EXPECT_EQ(prompter.asked.back().valueText, "1.000000");
    prompter.reply = {false, "new"};
    EXPECT_EQ(AskText(prompter, "t?", "old"), "old");
}

TEST(Prompt, PresetsAndUntouchedValues)
{
    CScriptedPrompter prompter;
    prompter.pressPreset = 1;
    EXPECT_EQ(AskInteger(prompter, "Change Page Format:\n", 2, {{"Window", "1"}, {"Current", ""}}), 2);
    EXPECT_EQ(prompter.asked.back().presets[1].value, "2");  // an empty preset enters the current value
    prompter.pressPreset = 0;
    EXPECT_EQ(AskInteger(prompter, "Change Page Format:\n", 2, {{"Window", "1"}, {"Current", ""}}), 1);

    // The headless prompter keeps every value exactly, even one that "%f" would round away.
    CHeadlessPrompter headless;
    EXPECT_EQ(AskReal(headless, "x?", 1e-9), 1e-9);
    AxisRange range = AskAxisRange(headless, {1, 2, 3, 4});
    EXPECT_EQ(range.xMax, 2);
    EXPECT_EQ(range.yMin, 3);
    EXPECT_FALSE(headless.ChooseFileToOpen({}).has_value());
}
