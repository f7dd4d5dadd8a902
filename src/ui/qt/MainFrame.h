#pragma once
// CMainFrame: the main window of the interactive mode. It owns the document, the page of the
// view, the desktop session, prompter and reporter, the script executor with its one-second
// timer, and the view widget; it builds the menus from the command table (pruned at start-up to
// the everyday menu, every command still in "More" and the command palette), the tool bar and
// the status bar, prints the page, and opens files dropped on it.
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "ui/KivDoc.h"
#include "ui/PageView.h"
#include "ui/TaskExecutor.h"
#include "ui/qt/DesktopTimer.h"
#include "ui/qt/KivView.h"
#include "ui/qt/MenuBuilder.h"
#include "ui/qt/ProgressDialog.h"
#include "ui/qt/QtProgress.h"
#include "ui/qt/QtPrompter.h"
#include "ui/qt/QtReporter.h"
#include "ui/qt/QtSession.h"
#include "ui/qt/RecentFiles.h"

class QLabel;
class QMenu;
class QPrinter;
class QToolBar;

namespace kiv {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // parameterFile: the start-up parameter file ("Orvane.ini" of the current directory when
    // empty); recentFile: where the recent-files list is kept (the user's default when empty).
    explicit CMainFrame(std::string parameterFile = "", std::string recentFile = "", QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The start-up of the view: zoom 100, empty page text, the script timer, window placement and
    // zoom from the parameter file, the pruned menu, "Startup done" and the first page. Runs once
    // (on the first show, or when called before).
    void StartUp();

    // Runs a command of the table with the progress dialog installed, then redraws.
    void RunCommand(const InteractiveCommand& command);
    // Runs a command whose prompts and file dialogs are answered by the arguments in order.
    void RunCommandWith(const InteractiveCommand& command, const std::vector<std::string>& arguments);
    // A library is opened, JCAMP-DX text imported into the working library, a script run; false
    // (after a report) for a file of no known kind or one that cannot be opened.
    bool OpenFile(const std::string& path);
    // Loads a script into the executor (an empty path asks); its tasks run one per timer tick.
    bool RunScript(const std::string& path);
    // One tick of the one-second script timer: the next task of a loaded script, unless a
    // command is running.
    void OnScriptTimer();
    void ShowCommandPalette();

    CKivDoc& Doc() { return doc_; }
    CPageView& Page() { return page_; }
    CKivView& View() { return *view_; }
    CSession& Session() { return session_; }
    CQtPrompter& Prompter() { return prompter_; }
    CQtReporter& Reporter() { return reporter_; }
    CTaskExecutor& Executor() { return executor_; }
    const CDesktopTimer& Timer() const { return timer_; }
    const CRecentFiles& RecentFiles() const { return recent_; }
    QString StatusText() const;
    QString RecordText() const;
    QMenu* MoreMenu() const { return more_; }

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BindSession();
    void BuildMenus(bool pruned);
    void BuildToolBar();
    void BuildStatusBar();
    QAction* ActionFor(const MenuNode& node);
    QAction* CommandAction(const InteractiveCommand& command);
    QAction* FrameActionFor(FrameAction action, const std::string& text);
    void RunFrameAction(FrameAction action);
    void Run(const InteractiveCommand& command, CPrompter& prompter);
    void FillRecentMenu();
    // After a command: the page laid out and refilled from the document, the scroll area, the
    // status panes and the title.
    void AfterCommand();
    // The record pane, the window title and pending error counts.
    void ShowIndicators();
    void ShowPage(int setup);
    void Print();
    void PrintPreview();
    void PrintSetup();

    CKivDoc doc_;
    CPageView page_;
    CQtSession session_;
    CQtPrompter prompter_;
    CQtReporter reporter_;
    CReporterScope reporterScope_;
    CQtProgressDialog* progress_;
    CQtProgressWindow progressWindow_;
    CTaskExecutor executor_;
    CDesktopTimer timer_;
    CKivView* view_;
    CRecentFiles recent_;
    std::unique_ptr<QPrinter> printer_;
    std::string parameterFile_;
    bool started_ = false;
    bool commandRunning_ = false;

    std::map<const InteractiveCommand*, QAction*> commandActions_;
    std::map<FrameAction, QAction*> frameActions_;
    QMenu* more_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* record_ = nullptr;
};

}  // namespace kiv
