#pragma once
// The desktop reporter: one modal message box per error, with the text the user knows
// ("Kiv run-time error:\n..."). A command that hits the same problem in every record would open
// a box per record, so a message identical to the one before it that arrives within a second of
// it is counted instead of shown; the count ("... repeated N times") follows with the next
// different message or at Flush, which the main window calls when a command has ended.
// Without an application object, or on another thread, the messages go to standard error.
#include <QElapsedTimer>
#include <functional>
#include <string>

#include "base/Reporter.h"

class QWidget;

namespace kiv {

class CQtReporter : public CReporter {
public:
    // Shows one full message text; the default is the modal box.
    using ShowFunction = std::function<void(ErrorKind kind, const std::string& text)>;

    explicit CQtReporter(QWidget* parent = nullptr) : parent_(parent) {}

    // Replaces the message box, e.g. by a recorder for tests; an empty function restores it.
    void SetShow(ShowFunction show) { show_ = std::move(show); }

    void Report(ErrorKind kind, const std::string& message) override;
    // Shows the pending repeat count, if any, and forgets the last message.
    void Flush();

private:
    void Show(ErrorKind kind, const std::string& text);
    void ShowMessageBox(ErrorKind kind, const std::string& text);

    QWidget* parent_;
    ShowFunction show_;
    std::string last_;
    ErrorKind lastKind_ = ErrorKind::RunTime;
    long repeats_ = 0;
    QElapsedTimer sinceLast_;
};

}  // namespace kiv
