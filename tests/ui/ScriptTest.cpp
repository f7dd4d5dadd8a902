#include <gtest/gtest.h>

#include <set>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "base/Progress.h"
#include "ui/CommandTable.h"
#include "ui/ScriptCommands.h"
#include "ui/ScriptFile.h"
#include "ui/ScriptRunner.h"
#include "ui/TaskExecutor.h"
#include "ui/TaskString.h"

using namespace kiv;

namespace {

class CFakeTimer : public CTaskTimer {
public:
    explicit CFakeTimer(std::set<int> working) : working_(std::move(working)) {}
    bool Start(int id, int periodMs) override
    {
        started.push_back(id);
        EXPECT_EQ(periodMs, 1000);
        return working_.count(id) > 0;
    }
    std::vector<int> started;

private:
    std::set<int> working_;
};

// An executor over a recording session whose tasks are only collected.
struct ExecutorFixture {
    CRecordingSession session;
    std::vector<std::string> ran;
    CTaskExecutor executor{[this](const std::string& task) {
                               ran.push_back(task);
                               return 0;
                           },
                           session};
};

}  // namespace

TEST(TaskString, NameArgumentsBlanksAndClosingParentheses)
{
    TaskCall call = SplitTask("SelectRecord( 5 )");
    EXPECT_EQ(call.name, "SelectRecord");
    EXPECT_EQ(call.arguments, std::vector<std::string>{"5"});

    call = SplitTask("DataFeatureSelection(1, 2,,  x y ))");
    EXPECT_EQ(call.arguments, (std::vector<std::string>{"1", "2", "", "x y"}));

    // A "(" in first place does not open arguments; a missing ")" is no error.
    EXPECT_EQ(SplitTask("(abc)").name, "(abc)");
    EXPECT_TRUE(SplitTask("(abc)").arguments.empty());
    EXPECT_EQ(SplitTask("Cmd(a\\tb").arguments, std::vector<std::string>{"a\tb"});
    EXPECT_EQ(SplitTask("Cmd()").arguments, std::vector<std::string>{""});
}

TEST(ScriptFile, OnlyDoLinesAreTasksWithCommentsAndBlanksRemoved)
{
    test::CScratchFolder folder;
    const std::string path = folder.Path("runscript.txt");
    test::WriteBytes(path, "// a script\r\nOpenBIB(x)\r\n   do:   selectrecord( 2 )  // second\r\nDO:PCAX\r\nDo:\r\n");
    std::deque<std::string> queue{"earlier"};
    CHeadlessPrompter prompter;
    EXPECT_EQ(LoadScript(path, prompter, queue), ScriptLoad::Loaded);
    EXPECT_EQ(queue, (std::deque<std::string>{"earlier", "selectrecord( 2 )", "PCAX", ""}));

    EXPECT_EQ(LoadScript("", prompter, queue), ScriptLoad::NoFileChosen);
    EXPECT_EQ(LoadScript(folder.Path("missing.txt"), prompter, queue), ScriptLoad::CannotOpen);
    EXPECT_EQ(LoadScript(folder.Root(), prompter, queue), ScriptLoad::CannotOpen);
    EXPECT_EQ(queue.size(), 4u);
}

TEST(TaskExecutor, ScriptWithoutTasksFinishesOnTheNextTick)
{
    test::CScratchFolder folder;
    test::WriteBytes(folder.Path("script.txt"), "nothing to do\r\n");
    ExecutorFixture f;
    CHeadlessPrompter prompter;
    EXPECT_TRUE(f.executor.RunScript(folder.Path("script.txt"), prompter));
    EXPECT_EQ(f.executor.State(), ExecutorState::StartRequested);
    f.executor.OnTaskTimer();
    EXPECT_EQ(f.executor.State(), ExecutorState::Idle);
    EXPECT_EQ(f.session.status, (std::vector<std::string>{"Script OK.", "Task finished."}));

    // Idle ticks only count; a missing script is an error and changes nothing else.
    f.executor.OnTaskTimer();
    EXPECT_EQ(f.executor.Ticks(), 1);
    EXPECT_FALSE(f.executor.RunScript(folder.Path("missing.txt"), prompter));
    EXPECT_EQ(f.session.status.back(), "Script Error.");
    EXPECT_EQ(f.executor.State(), ExecutorState::Idle);
}

TEST(TaskExecutor, ThreeTasksOnePerTickWithProgress33_66_100)
{
    test::CScratchFolder folder;
    test::WriteBytes(folder.Path("script.txt"), "DO:A\r\nDO:B\r\nDO:C\r\n");
    std::vector<int> percents;
    SetProgressEcho([&percents](int percent, const std::string&) { percents.push_back(percent); });
    ExecutorFixture f;
    CHeadlessPrompter prompter;
    f.executor.RunScript(folder.Path("script.txt"), prompter);
    for (int tick = 0; tick < 3; ++tick) f.executor.OnTaskTimer();
    EXPECT_EQ(f.ran, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(f.executor.State(), ExecutorState::BetweenTasks);
    f.executor.OnTaskTimer();
    SetProgressEcho(nullptr);
    EXPECT_EQ(f.executor.State(), ExecutorState::Idle);
    EXPECT_EQ(percents, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(f.session.status, (std::vector<std::string>{"Script OK.", "Task A", "Task B", "Task C", "Task finished."}));
}

TEST(TaskExecutor, StopFileCancelsTheSequence)
{
    test::CScratchFolder folder;
    test::WriteBytes(folder.Path("script.txt"), "DO:A\r\nDO:B\r\nDO:C\r\n");
    const std::string previousStopFile = StopFileName();
    OpenProgress("", folder.Path("stopnow.txt"));
    ExecutorFixture f;
    CHeadlessPrompter prompter;
    f.executor.RunScript(folder.Path("script.txt"), prompter);
    f.executor.OnTaskTimer();
    test::WriteBytes(folder.Path("stopnow.txt"), "");
    f.executor.OnTaskTimer();
    OpenProgress("", previousStopFile);
    EXPECT_EQ(f.ran, (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(f.executor.Queue().empty());
    EXPECT_EQ(f.executor.State(), ExecutorState::Idle);
    const std::vector<std::string> tail(f.session.status.end() - 2, f.session.status.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Task Canceled.", "Task finished."}));
}

TEST(TaskExecutor, TimerFallsBackToTheSpareIdThenReports)
{
    ExecutorFixture f;
    CFakeTimer spareOnly({111337});
    EXPECT_TRUE(f.executor.SetUp(spareOnly));
    EXPECT_EQ(spareOnly.started, (std::vector<int>{1337, 111337}));

    test::CRecordingReporter reporter;
    CFakeTimer none({});
    EXPECT_FALSE(f.executor.SetUp(none));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Timer not available"});
}

TEST(CommandTable, EveryCommandHasAUniqueScriptName)
{
    EXPECT_EQ(ScriptNameOf("&Print...\tCtrl+P"), "Print");
    EXPECT_EQ(ScriptNameOf("Use MS of BIB X"), "UseMSofBIBX");
    EXPECT_EQ(ScriptNameOf("PLS X&&Y"), "PLSXY");
    std::set<std::string> names = {"openbib", "selectrecord", "openfeatures", "usedataspectralsimilaritysearch",
                                   "datafeatureselection", "descriptorsopenunknown"};
    for (const InteractiveCommand& command : InteractiveCommands()) {
        std::string lower;
        for (char c : command.scriptName) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_FALSE(lower.empty());
        EXPECT_TRUE(names.insert(lower).second) << command.menu << " / " << command.entry;
    }
    EXPECT_EQ(ScriptCommandList().size(), InteractiveCommands().size() + 6);

    // Entries of the same text in several menus carry the menu's name.
    ASSERT_NE(FindInteractiveCommand("xconstant"), nullptr);
    EXPECT_EQ(FindInteractiveCommand("XConstant")->menu, "X");
    EXPECT_EQ(FindInteractiveCommand("YConstant")->menu, "Y");
    EXPECT_EQ(FindInteractiveCommand("MWStatistics")->menu, "MW");
    EXPECT_EQ(FindInteractiveCommand("FeaturesSaveFeatures")->menu, "Features");
    EXPECT_EQ(FindInteractiveCommand("Constant"), nullptr);
    for (const char* name : {"UseMSofBIBX", "PCAX", "PLSXY", "SaveHitlistText", "AnalysecharacteristicSpectrumdel"}) {
        EXPECT_NE(FindInteractiveCommand(name), nullptr) << name;
    }
}

TEST(ExecuteTask, DataFeatureSelectionWithExplicitValuesAndTooFewArguments)
{
    CKivDoc doc;
    CRecordingSession session;
    // Column 2 is constant: the constant-feature selection with n = 0 removes it.
    doc.data.X = CMatrix(3, 3);
    for (int i = 1; i <= 3; ++i) {
        doc.data.X.Set(i, 1, i);
        doc.data.X.Set(i, 2, 7);
        doc.data.X.Set(i, 3, 10 * i);
    }
    EXPECT_EQ(ExecuteTask(doc, "DataFeatureSelection(1)", session), -1);
    EXPECT_EQ(doc.data.X.Cols(), 3);
    EXPECT_EQ(ExecuteTask(doc, "DataFeatureSelection(1, 1)", session), 0);
    EXPECT_EQ(doc.data.X.Cols(), 2);
    EXPECT_EQ(session.pages.back(), 0);
}

TEST(ExecuteTask, OpensSelectsAndRejectsUnknownNamesSilently)
{
    test::CScratchFolder folder;
    const std::string library = folder.Path("lib.ssd");
    ASSERT_TRUE(test::WriteTestLibrary(library, {{{41, 50}, {43, 100}}, {{57, 100}}, {{71, 100}}}));
    CKivDoc doc;
    CRecordingSession session;
    test::CRecordingReporter reporter;
    EXPECT_EQ(ExecuteTask(doc, "OpenBIB(" + library + ")", session), 0);
    EXPECT_EQ(doc.bib.currentBlock, 1);
    EXPECT_EQ(ExecuteTask(doc, "selectrecord( 3 )", session), 0);
    EXPECT_EQ(doc.bib.currentBlock, 3);
    EXPECT_EQ(session.status.back(), " 3/3");

    EXPECT_EQ(ExecuteTask(doc, "NoSuchCommand(1)", session), -1);
    EXPECT_EQ(ExecuteTask(doc, "SelectRecord", session), -1);
    EXPECT_EQ(doc.bib.currentBlock, 3);
    EXPECT_TRUE(reporter.messages.empty());

    // Interactive commands by their script names; arguments answer the prompts in order.
    EXPECT_EQ(ExecuteTask(doc, "closebibdatabase", session), 0);
    EXPECT_EQ(session.status.back(), "Empty BIB 0/0");
    EXPECT_EQ(ExecuteTask(doc, "DescriptorsOpenUnknown(" + folder.Path("none.txt") + ")", session), -1);
    EXPECT_EQ(ExecuteTask(doc, "OpenBIBDatabase(" + library + ")", session), 0);
    EXPECT_EQ(doc.bib.currentBlock, 1);
}

TEST(ScriptRunner, RunsEveryTaskAndSurvivesBadScripts)
{
    test::CScratchFolder folder;
    const std::string library = folder.Path("lib.ssd");
    ASSERT_TRUE(test::WriteTestLibrary(library, {{{41, 50}}, {{57, 100}}}));
    test::WriteBytes(folder.Path("good.txt"), "DO:OpenBIB(" + library + ")\r\nDO:SelectRecord(2)\r\n");
    CKivDoc doc;
    CRecordingSession session;
    EXPECT_TRUE(RunScriptHeadless(doc, folder.Path("good.txt"), session));
    EXPECT_EQ(doc.bib.currentBlock, 2);
    EXPECT_EQ(session.status.back(), "Task finished.");

    std::string many = "DO:SelectRecord(";
    for (int i = 0; i < 10000; ++i) many += "1,";
    many += "1)\r\n";
    test::WriteBytes(folder.Path("bad.txt"), "DO:" + std::string(100000, 'x') + "\r\nDO:SelectRecord((1\r\n" + many +
                                                 "DO:OpenBIB(" + folder.Path("missing.ssd") + ")\r\nDO:Unknown\r\n");
    test::CRecordingReporter reporter;
    CRecordingSession badSession;
    EXPECT_FALSE(RunScriptHeadless(doc, folder.Path("bad.txt"), badSession));
    EXPECT_EQ(badSession.status.back(), "Task finished.");
    EXPECT_FALSE(reporter.messages.empty());  // the missing library is reported
    EXPECT_FALSE(RunScriptHeadless(doc, folder.Path("absent.txt"), badSession));
}
