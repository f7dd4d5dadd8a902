#pragma once
// Scripts without a desktop: the executor driven tick after tick without waiting, and a session
// that prints what a desktop would show.
#include <cstdio>
#include <string>

#include "base/Session.h"
#include "ui/KivDoc.h"

namespace kiv {

// Prints every message-log line and every status text ("Status: " in front) as it happens.
class CConsoleSession : public CSession {
public:
    explicit CConsoleSession(std::FILE* out) : out_(out) {}
    void SetStatus(const std::string& text) override;
    void Log(const std::string& line) override;
    void ClearLog() override {}
    void Redraw() override {}
    void CopyText(const std::string& text) override;
    void ShowPage(int) override {}

private:
    std::FILE* out_;
};

// Loads the script at path and runs its tasks one after the other on doc. True when the script
// loaded and every task was known and ran.
bool RunScriptHeadless(CKivDoc& doc, const std::string& path, CSession& session);

}  // namespace kiv
