#include "ui/qt/QtProgress.h"

#include "base/Progress.h"
#include "ui/qt/ProgressDialog.h"

namespace kiv {

namespace {

// Opens the dialog and installs it; false when it was open already (then only its text changes).
bool OpenAndInstall(CQtProgressDialog& dialog, const std::string& text, CQtProgressDialog::ShowWhen when)
{
    if (dialog.IsOpen()) {
        dialog.SetText(text);
        return false;
    }
    dialog.Open(text, when);
    SetProgressDialog(&dialog);
    return true;
}

void UninstallAndClose(CQtProgressDialog& dialog)
{
    SetProgressDialog(nullptr);
    dialog.Close();
}

}  // namespace

CProgressScope::CProgressScope(CQtProgressDialog& dialog, const std::string& text)
    : dialog_(dialog), opened_(OpenAndInstall(dialog, text, CQtProgressDialog::ShowWhen::FirstReport))
{
}

CProgressScope::~CProgressScope()
{
    if (opened_) UninstallAndClose(dialog_);
}

void CQtProgressWindow::Open(const std::string& text)
{
    OpenAndInstall(dialog_, text, CQtProgressDialog::ShowWhen::Now);
}

void CQtProgressWindow::Close() { UninstallAndClose(dialog_); }

}  // namespace kiv
