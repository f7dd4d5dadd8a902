#include "ui/qt/MainFrame.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "base/Format.h"
#include "base/Paths.h"
#include "ui/ArgumentPrompter.h"
#include "ui/ScriptCommands.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/CommandPalette.h"
#include "ui/qt/DroppedFiles.h"
#include "ui/qt/PageOutput.h"
#include "ui/qt/QtText.h"
#include "ui/qt/WindowSettings.h"

namespace kiv {

namespace {

constexpr const char* kImportJcampCommand = "ImporttoBIBDatabase";
constexpr const char* kOpenLibraryCommand = "OpenBIBDatabase";
constexpr const char* kPageZoomCommand = "PageZoom";

std::string PlainEntry(const std::string& entry)
{
    return WithoutAccessKeys(entry.substr(0, entry.find('\t')));
}

}  // namespace

CMainFrame::CMainFrame(std::string parameterFile, std::string recentFile, QWidget* parent)
    : QMainWindow(parent),
      page_(doc_),
      session_(this),
      prompter_(this),
      reporter_(this),
      reporterScope_(reporter_),
      progress_(new CQtProgressDialog(this)),
      progressWindow_(*progress_),
      executor_([this](const std::string& task) { return ExecuteTask(doc_, task, session_); }, session_,
                &progressWindow_),
      timer_([this] { OnScriptTimer(); }),
      view_(new CKivView(page_, prompter_, session_, this)),
      recent_(recentFile.empty() ? CRecentFiles::DefaultFile() : recentFile),
      parameterFile_(std::move(parameterFile))
{
    doc_.scorePlots = &page_;
    doc_.view = &page_;
    setWindowTitle(QStringLiteral("Kiv"));
    setCentralWidget(view_);
    setAcceptDrops(true);
    view_->onChanged = [this] { ShowIndicators(); };
    BindSession();
    BuildToolBar();
    BuildStatusBar();
    BuildMenus(false);
    auto* palette = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+P")), this);
    connect(palette, &QShortcut::activated, this, &CMainFrame::ShowCommandPalette);
}

CMainFrame::~CMainFrame()
{
    doc_.scorePlots = nullptr;
    doc_.view = nullptr;
}

void CMainFrame::BindSession()
{
    session_.onStatus = [this](const std::string& text) { status_->setText(ToQString(text)); };
    session_.onLog = [this](const std::string& line) { page_.AddTextLine(line); };
    session_.onClearLog = [this] { page_.ClearText(); };
    // The page is refilled after each command; a redraw request only repaints what it shows,
    // so that the zoom windows the user set stay as they are.
    session_.onRedraw = [this] {
        ShowIndicators();
        view_->Repaint();
    };
    session_.onShowPage = [this](int setup) { ShowPage(setup); };
}

void CMainFrame::StartUp()
{
    if (started_) return;
    started_ = true;
    page_.Settings().zoom = doc_.zoom = 100;
    page_.ClearText();
    executor_.SetUp(timer_);  // "Timer not available" when it cannot be made
    parameterFile_ = StartupParameterFile(parameterFile_);
    const WindowSettings placement = ReadStartupSettings(doc_, parameterFile_, prompter_);
    PlaceWindow(*this, placement);
    page_.Settings().zoom = doc_.zoom = placement.zoom;
    BuildMenus(true);
    session_.SetStatus("Startup done");
    AfterCommand();  // the first page
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    StartUp();
}

QString CMainFrame::StatusText() const
{
    return status_->text();
}

QString CMainFrame::RecordText() const
{
    return ToQString(RecordStatus(doc_.bib));
}

void CMainFrame::BuildMenus(bool pruned)
{
    menuBar()->clear();
    MenuBar bar = FullMenuBar(InteractiveCommands());
    if (pruned) PruneMenuBar(bar);
    const ActionResolver resolve = [this](const MenuNode& node) { return ActionFor(node); };
    FillMenuBar(*menuBar(), bar, resolve);
    QMenu* file = menuBar()->actions().isEmpty() ? nullptr : menuBar()->actions().front()->menu();
    if (file) {
        QAction* exit = file->actions().isEmpty() ? nullptr : file->actions().back();
        recentMenu_ = new QMenu(QStringLiteral("Recent &Files"), file);
        file->insertMenu(exit, recentMenu_);
        file->insertSeparator(exit);
        FillRecentMenu();
    }
    more_ = menuBar()->addMenu(QStringLiteral("&More"));
    more_->addAction(FrameActionFor(FrameAction::RunScript, "Run Script ..."));
    QAction* palette = more_->addAction(QStringLiteral("Command Palette...\tCtrl+Shift+P"));
    connect(palette, &QAction::triggered, this, &CMainFrame::ShowCommandPalette);
    more_->addSeparator();
    FillMenu(*more_, MoreMenus(InteractiveCommands()), resolve);
}

void CMainFrame::BuildToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Tools"));
    toolBar_->setObjectName(QStringLiteral("tools"));
    QStyle* style = QApplication::style();
    auto add = [&](QStyle::StandardPixmap icon, const QString& text, auto slot) {
        QAction* action = toolBar_->addAction(style->standardIcon(icon), text);
        connect(action, &QAction::triggered, this, slot);
    };
    add(QStyle::SP_DialogOpenButton, QStringLiteral("Open BIB Database"),
        [this] { RunCommand(*FindInteractiveCommand(kOpenLibraryCommand)); });
    add(QStyle::SP_FileDialogNewFolder, QStringLiteral("Import to BIB Database"),
        [this] { RunCommand(*FindInteractiveCommand(kImportJcampCommand)); });
    add(QStyle::SP_ArrowBack, QStringLiteral("Previous record"), [this] {
        page_.PreviousRecord(session_);
        ShowIndicators();
    });
    add(QStyle::SP_ArrowForward, QStringLiteral("Next record"), [this] {
        page_.NextRecord(session_);
        ShowIndicators();
    });
    add(QStyle::SP_FileDialogContentsView, QStringLiteral("Page Zoom"),
        [this] { RunCommand(*FindInteractiveCommand(kPageZoomCommand)); });
    add(QStyle::SP_DialogSaveButton, QStringLiteral("Print"), [this] { Print(); });
}

void CMainFrame::BuildStatusBar()
{
    status_ = new QLabel(this);
    record_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    record_->setObjectName(QStringLiteral("record"));
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(record_);
    record_->setText(RecordText());
}

QAction* CMainFrame::ActionFor(const MenuNode& node)
{
    if (node.command) return CommandAction(*node.command);
    if (node.action == FrameAction::None) return nullptr;
    return FrameActionFor(node.action, node.text);
}

QAction* CMainFrame::CommandAction(const InteractiveCommand& command)
{
    QAction*& action = commandActions_[&command];
    if (!action) {
        action = new QAction(ToQString(command.entry), this);
        action->setToolTip(ToQString(command.scriptName));
        connect(action, &QAction::triggered, this, [this, &command] { RunCommand(command); });
    }
    return action;
}

QAction* CMainFrame::FrameActionFor(FrameAction frameAction, const std::string& text)
{
    QAction*& action = frameActions_[frameAction];
    if (!action) {
        action = new QAction(ToQString(text), this);
        if (frameAction == FrameAction::Toolbar || frameAction == FrameAction::StatusBar) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (frameAction == FrameAction::Print) action->setShortcut(QKeySequence::Print);
        connect(action, &QAction::triggered, this, [this, frameAction] { RunFrameAction(frameAction); });
    }
    return action;
}

void CMainFrame::RunFrameAction(FrameAction action)
{
    switch (action) {
    case FrameAction::Print: Print(); break;
    case FrameAction::PrintPreview: PrintPreview(); break;
    case FrameAction::PrintSetup: PrintSetup(); break;
    case FrameAction::Exit: close(); break;
    case FrameAction::Toolbar: toolBar_->setVisible(frameActions_[action]->isChecked()); break;
    case FrameAction::StatusBar: statusBar()->setVisible(frameActions_[action]->isChecked()); break;
    case FrameAction::About: ShowAboutBox(this); break;
    case FrameAction::RunScript: RunScript(""); break;
    case FrameAction::None: break;
    }
}

void CMainFrame::FillRecentMenu()
{
    if (!recentMenu_) return;
    recentMenu_->clear();
    for (const std::string& path : recent_.Paths()) {
        QAction* action = recentMenu_->addAction(PathToQString(path));
        connect(action, &QAction::triggered, this, [this, path] { OpenFile(path); });
    }
    recentMenu_->setEnabled(!recent_.Paths().empty());
}

void CMainFrame::RunCommand(const InteractiveCommand& command)
{
    Run(command, prompter_);
}

void CMainFrame::RunCommandWith(const InteractiveCommand& command, const std::vector<std::string>& arguments)
{
    CArgumentPrompter answers(arguments);
    Run(command, answers);
}

void CMainFrame::Run(const InteractiveCommand& command, CPrompter& prompter)
{
    commandRunning_ = true;
    {
        CProgressScope progress(*progress_, PlainEntry(command.entry));
        command.run(doc_, prompter, session_);
    }
    commandRunning_ = false;
    AfterCommand();
}

void CMainFrame::OnScriptTimer()
{
    // A tick that arrives while a command waits in a dialog or reports progress would run a
    // script task in the middle of that command: the script waits for the next tick instead.
    if (commandRunning_) return;
    const bool busy = executor_.State() != ExecutorState::Idle;
    executor_.OnTaskTimer();
    if (busy) AfterCommand();
}

bool CMainFrame::OpenFile(const std::string& path)
{
    switch (KindOfDroppedFile(path)) {
    case DroppedFileKind::Library: {
        const FileResult opened = OpenWorkingBib(doc_, path, prompter_, session_);
        if (opened == FileResult::Done) recent_.Add(path);
        else recent_.Remove(path);  // a library that has gone leaves the list
        FillRecentMenu();
        AfterCommand();
        return opened == FileResult::Done;
    }
    case DroppedFileKind::Jcamp:
        RunCommandWith(*FindInteractiveCommand(kImportJcampCommand), {path});
        return true;
    case DroppedFileKind::Script:
        return RunScript(path);
    case DroppedFileKind::Unknown:
        break;
    }
    ReportRunTimeError(Format("%s is neither a library (.ssd), JCAMP-DX text (.jdx, .dx, .jcamp) nor a script (.txt)",
                              path.c_str()));
    reporter_.Flush();
    return false;
}

bool CMainFrame::RunScript(const std::string& path)
{
    const bool loaded = executor_.RunScript(path, prompter_);
    reporter_.Flush();
    return loaded;
}

void CMainFrame::ShowCommandPalette()
{
    CCommandPalette palette(InteractiveCommands(), this);
    if (palette.exec() == QDialog::Accepted && palette.Chosen()) RunCommand(*palette.Chosen());
}

void CMainFrame::AfterCommand()
{
    view_->RebuildPage();  // laid out with the screen's text measures, then refilled
    ShowIndicators();
}

void CMainFrame::ShowIndicators()
{
    reporter_.Flush();
    record_->setText(RecordText());
    const bool open = doc_.bib.readState != 0 || doc_.bib.inMemory != 0;
    setWindowTitle(open ? QStringLiteral("Kiv - %1").arg(PathToQString(FileTitle(doc_.bib.path))) : QStringLiteral("Kiv"));
}

void CMainFrame::ShowPage(int setup)
{
    page_.Settings().setup = setup;
    page_.Settings().matrixOnly = false;
    view_->RebuildPage();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && KindOfDroppedFile(PathFromQString(url.toLocalFile())) != DroppedFileKind::Unknown) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) OpenFile(PathFromQString(url.toLocalFile()));
    }
    event->acceptProposedAction();
}

void CMainFrame::Print()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer_.get(), this);
    if (dialog.exec() == QDialog::Accepted && !PrintPage(page_, *printer_))
        ReportRunTimeError("The page cannot be printed");
    reporter_.Flush();
}

void CMainFrame::PrintPreview()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintPreviewDialog preview(printer_.get(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PrintPage(page_, *printer); });
    preview.exec();
}

void CMainFrame::PrintSetup()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

}  // namespace kiv
