#include "base/Progress.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "base/TextFile.h"

namespace kiv {

namespace {

struct ProgressState {
    CTextWriter file;
    std::string stopFile = TempFolderFile("stop.txt");
    CProgressDialog* dialog = nullptr;
    std::function<void(int, const std::string&)> echo;
};

ProgressState& State()
{
    static ProgressState state;
    return state;
}

void WriteProgressValue(int value)
{
    CTextWriter& file = State().file;
    file.Rewind();
    file.Print("%d\n", value);
    file.Flush();
}

}  // namespace

void SetProgressDialog(CProgressDialog* dialog) { State().dialog = dialog; }

void SetProgressEcho(std::function<void(int, const std::string&)> echo) { State().echo = std::move(echo); }

void OpenProgress(const std::string& progressFile, const std::string& stopFile)
{
    ProgressState& state = State();
    if (!progressFile.empty() && !state.file.Open(progressFile)) {
        ReportRunTimeError(Format("Invalid progress file name %s", progressFile.c_str()));
    }
    if (!stopFile.empty()) state.stopFile = stopFile;
}

int ReportProgress(int percent, const std::string& text)
{
    ProgressState& state = State();
    if (state.echo) state.echo(percent, text);
    int result = 1;
    if (state.dialog) {
        state.dialog->SetPercent(percent);
        if (!text.empty()) state.dialog->SetText(text);
        result = 0;
        if (state.dialog->Cancelled()) {
            state.dialog->Close();
            state.dialog = nullptr;
            result = 2;
        }
    }
    if (state.file.IsOpen()) {
        WriteProgressValue(percent);
        // A cancel from the dialog must survive the file report.
        if (result != 2) result = -1;
    }
    if (FileExists(state.stopFile)) {
        RemoveFile(state.stopFile);
        if (state.file.IsOpen()) WriteProgressValue(-1);
        result = 2;
    }
    return result;
}

void CloseProgress() { State().file.Close(); }

const std::string& StopFileName() { return State().stopFile; }

}  // namespace kiv
