#pragma once
// The progress dialog put to work: a scope that opens it and installs it as the process's
// progress display for the length of one command (the window appears with the command's first
// progress report), and the progress window of the script executor (shown at once). Both leave a dialog that is already open alone (a command run by a script task
// reports into the script's window) and close only what they opened.
#include <string>

#include "ui/TaskExecutor.h"

namespace kiv {

class CQtProgressDialog;

class CProgressScope {
public:
    CProgressScope(CQtProgressDialog& dialog, const std::string& text);
    ~CProgressScope();
    CProgressScope(const CProgressScope&) = delete;
    CProgressScope& operator=(const CProgressScope&) = delete;

private:
    CQtProgressDialog& dialog_;
    bool opened_;
};

class CQtProgressWindow : public CProgressWindow {
public:
    explicit CQtProgressWindow(CQtProgressDialog& dialog) : dialog_(dialog) {}
    void Open(const std::string& text) override;
    void Close() override;

private:
    CQtProgressDialog& dialog_;
};

}  // namespace kiv
