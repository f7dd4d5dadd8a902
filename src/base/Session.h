#pragma once
// What an interactive command tells the user besides prompts: the status line, lines of the
// message log (the document's text page), redraw requests and the copy-to-clipboard dialog.
// The desktop view implements it; batch runs and tests use CRecordingSession.
#include <string>
#include <vector>

namespace kiv {

class CSession {
public:
    virtual ~CSession() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void Log(const std::string& line) = 0;
    virtual void ClearLog() = 0;
    virtual void Redraw() = 0;
    virtual void CopyText(const std::string& text) = 0;
    // Brings a page of the view to the front (3: the hitlist page).
    virtual void ShowPage(int page) = 0;
};

// Keeps everything it is told, for batch runs and tests.
class CRecordingSession : public CSession {
public:
    void SetStatus(const std::string& text) override { status.push_back(text); }
    void Log(const std::string& line) override { log.push_back(line); }
    void ClearLog() override { log.clear(); }
    void Redraw() override { ++redraws; }
    void CopyText(const std::string& text) override { copied.push_back(text); }
    void ShowPage(int page) override { pages.push_back(page); }

    std::vector<std::string> status;
    std::vector<std::string> log;
    std::vector<std::string> copied;
    std::vector<int> pages;
    int redraws = 0;
};

}  // namespace kiv
