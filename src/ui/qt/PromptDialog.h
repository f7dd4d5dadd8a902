#pragma once
// The modal value prompt "Kiv   Variable Input": the prompt text (columns at tab stops), one
// edit field with the initial value text selected, "OK", "Cancel" and eight preset buttons in a
// column. A preset button puts its value into the edit field and accepts at once; a button
// without a caption is hidden. Enter means "OK", Escape "Cancel".
//
// The widgets carry object names for anyone who drives the dialog as a user would (tests, the
// prompter's hook): "prompt", "value", "ok", "cancel", "preset1" ... "preset8".
#include <QDialog>
#include <string>

#include "base/Prompt.h"

class QLineEdit;
class QPlainTextEdit;

namespace kiv {

class CPromptDialog : public QDialog {
    Q_OBJECT

public:
    explicit CPromptDialog(const PromptRequest& request, QWidget* parent = nullptr);

    // The edit field's text (Latin-1).
    std::string Text() const;

private:
    QPlainTextEdit* MakePromptView(const std::string& prompt);
    QWidget* MakePresetColumn(const PromptRequest& request);

    QLineEdit* edit_ = nullptr;
};

}  // namespace kiv
