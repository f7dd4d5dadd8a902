#pragma once
// The desktop session: what a command tells the user goes to callbacks that the main window
// binds (status bar, the page text block, redraw, bringing a page to the front); text to copy
// goes through the "Copy" dialog in copy-only mode. A callback left empty ignores its calls.
#include <functional>
#include <string>

#include "base/Session.h"

class QWidget;

namespace kiv {

class CQtSession : public CSession {
public:
    explicit CQtSession(QWidget* parent = nullptr) : parent_(parent) {}

    void SetStatus(const std::string& text) override;
    void Log(const std::string& line) override;
    void ClearLog() override;
    void Redraw() override;
    void CopyText(const std::string& text) override;
    void ShowPage(int page) override;

    std::function<void(const std::string& text)> onStatus;
    std::function<void(const std::string& line)> onLog;
    std::function<void()> onClearLog;
    std::function<void()> onRedraw;
    std::function<void(int page)> onShowPage;

private:
    QWidget* parent_;
};

}  // namespace kiv
