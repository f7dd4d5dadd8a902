#pragma once
// Progress of long operations and the stop request. Long loops call ReportProgress between
// items; it moves the progress dialog (when one is open), rewrites the progress file that a
// driving program watches, and tells the caller to stop when the user cancelled or the stop
// file appeared. Callers stop their loop when the result is greater than 1.
#include <functional>
#include <string>

namespace kiv {

// The desktop progress dialog, or any other modeless display with a cancel button.
class CProgressDialog {
public:
    virtual ~CProgressDialog() = default;
    virtual void SetPercent(int percent) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual bool Cancelled() const = 0;
    virtual void Close() = 0;
};

// The open dialog, or nullptr when none is open.
void SetProgressDialog(CProgressDialog* dialog);

// An optional observer of every report (the batch program's one-line display on a terminal).
void SetProgressEcho(std::function<void(int percent, const std::string& text)> echo);

// Opens (truncates) the progress file when its name is not empty; reports
// "Invalid progress file name %s" when it cannot be created. A non-empty stop-file name becomes
// the process-wide stop file.
void OpenProgress(const std::string& progressFile, const std::string& stopFile);
int ReportProgress(int percent, const std::string& text);
void CloseProgress();

// The process-wide stop-request file; at start the file "stop.txt" in the temporary folder.
const std::string& StopFileName();

}  // namespace kiv
