#pragma once
// The progress dialog "Kiv   Progress of Calculation": a text of several lines, a progress bar,
// "OK" and "Cancel". It is shown without a modal loop of its own: the long operation runs on,
// and every SetPercent and SetText lets the window handle its pending events (at most every few
// milliseconds, so that tight loops stay fast), which is when a click on "Cancel" is seen. While
// it is open it keeps the input of the other windows, so that no second command starts inside
// a running one. "Cancel", Escape and the window's close button set the cancel flag; "OK" only
// hides the window and the operation goes on.
//
// Object names: "text", "bar", "ok", "cancel".
#include <QDialog>
#include <QElapsedTimer>
#include <string>

#include "base/Progress.h"

class QLabel;
class QProgressBar;

namespace kiv {

class CQtProgressDialog : public QDialog, public CProgressDialog {
    Q_OBJECT

public:
    explicit CQtProgressDialog(QWidget* parent = nullptr);

    // Now: the window appears at once. FirstReport: it appears with the first SetPercent or
    // SetText, so that a command which asks for a file first, or never reports, shows none.
    enum class ShowWhen { Now, FirstReport };

    // Opens at 0 % with the text and clears the cancel flag.
    void Open(const std::string& text, ShowWhen when = ShowWhen::Now);
    bool IsOpen() const { return open_; }

    void SetPercent(int percent) override;
    void SetText(const std::string& text) override;
    bool Cancelled() const override { return cancelled_; }
    // Hides the window; idempotent.
    void Close() override;

public slots:
    void reject() override;

private:
    void ShowIfPending();
    void ProcessPendingEvents();

    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QElapsedTimer sinceEvents_;
    bool open_ = false;
    bool showPending_ = false;
    bool cancelled_ = false;
};

}  // namespace kiv
