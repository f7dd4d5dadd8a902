#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "TestSupport.h"
#include "ui/qt/QtPrompter.h"
#include "ui/qt/QtText.h"

namespace kiv {

namespace {

QLineEdit* ValueField(QDialog& dialog) { return dialog.findChild<QLineEdit*>(QStringLiteral("value")); }
QPushButton* Button(QDialog& dialog, const char* name) { return dialog.findChild<QPushButton*>(QLatin1String(name)); }

// Answers every prompt by typing the text and pressing the named button.
void Answer(CQtPrompter& prompter, const std::string& text, const char* button = "ok")
{
    prompter.SetDialogHook([text, button](QDialog& dialog) {
        ValueField(dialog)->setText(ToQString(text));
        Button(dialog, button)->click();
    });
}

void PressKey(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// Where the second column of each line with a tab starts, in pixels.
std::vector<int> ColumnStarts(QPlainTextEdit& view)
{
    std::vector<int> starts;
    for (QTextBlock line = view.document()->begin(); line.isValid(); line = line.next()) {
        const int tab = static_cast<int>(line.text().indexOf('\t'));
        if (tab < 0) continue;
        QTextCursor cursor(line);
        cursor.setPosition(line.position() + tab + 1);
        starts.push_back(view.cursorRect(cursor).left());
    }
    return starts;
}

}  // namespace

TEST(PromptDialog, OkReturnsTheEditTextConvertedByEachOperation)
{
    CQtPrompter prompter;
    Answer(prompter, "42");
    EXPECT_EQ(AskInteger(prompter, "Number:", 7), 42);
    int cancelled = 5;
    EXPECT_EQ(AskIntegerOrCancel(prompter, "Number:", 7, cancelled), 42);
    EXPECT_EQ(cancelled, 0);
    Answer(prompter, "2.5e1");
    EXPECT_DOUBLE_EQ(AskReal(prompter, "Real:", 1.0), 25.0);
    Answer(prompter, "Caf\xE9 name");
    EXPECT_EQ(AskText(prompter, "Name:", "old"), "Caf\xE9 name");
    Answer(prompter, "twelve");
    EXPECT_EQ(AskInteger(prompter, "Number:", 7), 0);
}

TEST(PromptDialog, CancelKeepsTheCurrentValue)
{
    CQtPrompter prompter;
    Answer(prompter, "42", "cancel");
    EXPECT_EQ(AskInteger(prompter, "Number:", 7), 7);
    int cancelled = 0;
    EXPECT_EQ(AskIntegerOrCancel(prompter, "Number:", 7, cancelled), 7);
    EXPECT_EQ(cancelled, 1);
    EXPECT_DOUBLE_EQ(AskReal(prompter, "Real:", 1.5), 1.5);
    EXPECT_EQ(AskText(prompter, "Name:", "old"), "old");
}

TEST(PromptDialog, PresetButtonsEnterTheirValueAndAcceptAtOnce)
{
    CQtPrompter prompter;
    const PromptRequest request{"Change Page Format:\n1\tWindow\n2\tA4 Page\n", "1", {{"Window", "1"}, {"A4 Page", "2"}, {"Same", ""}}};
    prompter.SetDialogHook([](QDialog& dialog) { Button(dialog, "preset2")->click(); });
    PromptAnswer answer = prompter.Ask(request);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.text, "2");

    // A preset without a value enters the initial value text, even after the field was edited.
    prompter.SetDialogHook([](QDialog& dialog) {
        ValueField(dialog)->setText("99");
        Button(dialog, "preset3")->click();
    });
    answer = prompter.Ask(request);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.text, "1");
}

TEST(PromptDialog, LayoutTitleCaptionsAndKeyboard)
{
    CQtPrompter prompter;
    const PromptRequest request{"Page Setup:\n-1\tMatrix only\nChromatogram and spectrum\tText", "0", {{"Text", "0"}, {"", "5"}, {"Matrix", "-1"}}};
    QString title, prompt, selected;
    std::vector<int> columnStarts;
    std::vector<bool> hidden;
    std::vector<QString> captions;
    prompter.SetDialogHook([&](QDialog& dialog) {
        title = dialog.windowTitle();
        prompt = dialog.findChild<QPlainTextEdit*>(QStringLiteral("prompt"))->toPlainText();
        selected = ValueField(dialog)->selectedText();
        columnStarts = ColumnStarts(*dialog.findChild<QPlainTextEdit*>(QStringLiteral("prompt")));
        for (int i = 1; i <= 8; ++i) {
            QPushButton* button = Button(dialog, ("preset" + std::to_string(i)).c_str());
            hidden.push_back(button->isHidden());
            captions.push_back(button->text());
        }
        PressKey(ValueField(dialog), Qt::Key_Return);
    });
    PromptAnswer answer = prompter.Ask(request);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.text, "0");
    EXPECT_EQ(title, QStringLiteral("Kiv   Variable Input"));
    EXPECT_EQ(prompt, QStringLiteral("Page Setup:\n-1\tMatrix only\nChromatogram and spectrum\tText"));
    EXPECT_EQ(selected, QStringLiteral("0"));
    EXPECT_EQ(hidden, (std::vector<bool>{false, true, false, true, true, true, true, true}));
    EXPECT_EQ(captions[2], QStringLiteral("Matrix"));
    ASSERT_EQ(columnStarts.size(), 2u);
    EXPECT_EQ(columnStarts[0], columnStarts[1]);  // "Matrix only" and "Text" line up

    prompter.SetDialogHook([](QDialog& dialog) { PressKey(ValueField(dialog), Qt::Key_Escape); });
    EXPECT_FALSE(prompter.Ask(request).accepted);
}

TEST(PromptDialog, AxisRangeAsksTheFourLimitsInTurn)
{
    CQtPrompter prompter;
    std::vector<QString> prompts;
    const std::vector<QString> answers{"1", "2", "", "4"};
    prompter.SetDialogHook([&](QDialog& dialog) {
        prompts.push_back(dialog.findChild<QPlainTextEdit*>(QStringLiteral("prompt"))->toPlainText());
        const QString answer = answers[prompts.size() - 1];
        if (answer.isEmpty()) return Button(dialog, "cancel")->click();
        ValueField(dialog)->setText(answer);
        Button(dialog, "ok")->click();
    });
    const AxisRange range = AskAxisRange(prompter, {10, 20, 30, 40});
    EXPECT_EQ(prompts, (std::vector<QString>{"Entern X-Axis minimum:", "Entern X-Axis maximum:", "Entern Y-Axis minimum:",
                                             "Entern Y-Axis maximum:"}));
    EXPECT_DOUBLE_EQ(range.xMin, 1);
    EXPECT_DOUBLE_EQ(range.xMax, 2);
    EXPECT_DOUBLE_EQ(range.yMin, 30);
    EXPECT_DOUBLE_EQ(range.yMax, 4);
}

TEST(FileDialogs, FiltersAndDefaultExtensionsTranslate)
{
    EXPECT_EQ(ToQtNameFilters("Ini Files (*.ini)|*.ini|All Files (*.*)|*.*||"),
              (QStringList{"Ini Files (*.ini)", "All Files (*)"}));
    EXPECT_EQ(ToQtNameFilters("Tables|*.txt;*.tab|"), QStringList{"Tables (*.txt *.tab)"});
    EXPECT_TRUE(ToQtNameFilters("").isEmpty());
    EXPECT_EQ(ToDefaultSuffix("*.ini"), QStringLiteral("ini"));
    EXPECT_EQ(ToDefaultSuffix(".cdm"), QStringLiteral("cdm"));
    EXPECT_EQ(ToDefaultSuffix("*.*"), QString());
    EXPECT_EQ(ToDefaultSuffix(""), QString());
}

TEST(FileDialogs, ChosenFilesComeBackAndCancelChoosesNone)
{
    test::CScratchFolder folder;
    test::WriteBytes(folder.Path("old.ini"), "x");
    const FileRequest request{"", "*.ini", "Ini Files (*.ini)|*.ini|All Files (*.*)|*.*||", true};
    CQtPrompter prompter;
    auto choose = [&prompter](const std::string& path) {
        prompter.SetDialogHook([path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(PathToQString(path));
            dialog.accept();
        });
    };
    choose(folder.Path("old.ini"));
    EXPECT_EQ(prompter.ChooseFileToOpen(request), folder.Path("old.ini"));
    choose(folder.Path("new"));
    EXPECT_EQ(prompter.ChooseFileToSave(request), folder.Path("new.ini"));

    prompter.SetDialogHook([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(prompter.ChooseFileToOpen(request), std::nullopt);
    EXPECT_EQ(prompter.ChooseFileToSave(request), std::nullopt);
}

}  // namespace kiv
