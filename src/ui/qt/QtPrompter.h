#pragma once
// The desktop prompter: value prompts through the prompt dialog, file choices through the
// toolkit's file dialogs. The system's filter strings ("Ini Files (*.ini)|*.ini|All Files
// (*.*)|*.*||") and default extensions ("*.ini") are translated into the toolkit's forms.
//
// A dialog hook lets a caller answer the dialogs without a user (tests, recorded sessions): it
// runs once the dialog is open, inside its modal loop, and acts on it as a user would (types
// into "value", clicks "ok", selects a file and accepts). It must close the dialog. While a hook
// is set the file dialogs are the toolkit's own widgets, never the platform's native ones.
#include <QStringList>
#include <functional>

#include "base/Prompt.h"

class QDialog;
class QFileDialog;
class QWidget;

namespace kiv {

// "Ini Files (*.ini)|*.ini|All Files (*.*)|*.*||" -> {"Ini Files (*.ini)", "All Files (*)"}:
// one entry per pair, the description's own pattern list replaced by the pair's patterns, ";"
// between patterns becoming " " and "*.*" becoming "*" (a name without a dot is a file too).
QStringList ToQtNameFilters(const std::string& filter);
// "*.ini" -> "ini"; "*.*", "*" and "" -> "" (no suffix is added).
QString ToDefaultSuffix(const std::string& defaultExtension);

class CQtPrompter : public CPrompter {
public:
    using DialogHook = std::function<void(QDialog& dialog)>;

    explicit CQtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

    // An empty hook leaves the dialogs to the user.
    void SetDialogHook(DialogHook hook) { hook_ = std::move(hook); }

    PromptAnswer Ask(const PromptRequest& request) override;
    std::optional<std::string> ChooseFileToOpen(const FileRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileRequest& request) override;

private:
    bool Run(QDialog& dialog);
    std::optional<std::string> ChooseFile(QFileDialog& dialog, const FileRequest& request);

    QWidget* parent_;
    DialogHook hook_;
};

}  // namespace kiv
