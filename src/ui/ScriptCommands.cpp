#include "ui/ScriptCommands.h"

#include "base/Numbers.h"
#include "base/TextFile.h"
#include "search/DescriptorCommands.h"
#include "chemometrics/FeatureSelection.h"
#include "search/SearchCommands.h"
#include "ui/ArgumentPrompter.h"
#include "ui/CommandTable.h"
#include "ui/DataMenu.h"
#include "ui/TaskString.h"

namespace kiv {

namespace {

constexpr int kTaskRan = 0;
constexpr int kTaskFailed = -1;
constexpr int kTextPage = 0;  // the page setup that shows the message log alone

using Arguments = std::vector<std::string>;

int OpenBibTask(CKivDoc& doc, const Arguments& args, CSession& session)
{
    CArgumentPrompter prompter(args);
    OpenWorkingBib(doc, args[0], prompter, session);
    return kTaskRan;
}

int SelectRecordTask(CKivDoc& doc, const Arguments& args, CSession& session)
{
    SelectWorkingRecord(doc, ParseInt(args[0]), session);
    return kTaskRan;
}

int OpenFeaturesTask(CKivDoc& doc, const Arguments& args, CSession& session)
{
    CArgumentPrompter prompter({});
    if (!args.empty()) OpenCdmFeatures(doc.reference, doc.features, args[0], prompter, session);
    SearchCurrentSpectrum(doc.bib, doc.features, doc.reference, doc.hitlist, prompter, session);
    return kTaskRan;
}

int UseDataSpectralSimilaritySearchTask(CKivDoc& doc, const Arguments&, CSession& session)
{
    UseSpecSimSearchFeatures(doc, session);
    return kTaskRan;
}

// a, b and optionally c, d (integers) and x (real), missing ones 0; then the result page.
int DataFeatureSelectionTask(CKivDoc& doc, const Arguments& args, CSession& session)
{
    auto integer = [&args](size_t i) { return i < args.size() ? ParseInt(args[i]) : 0; };
    const double x = args.size() > 4 ? ParseReal(args[4]) : 0.0;
    CArgumentPrompter prompter({});
    SelectFeatures(doc.data, integer(0), integer(1), integer(2), integer(3), x, prompter, session);
    session.ShowPage(kTextPage);
    return kTaskRan;
}

int DescriptorsOpenUnknownTask(CKivDoc& doc, const Arguments& args, CSession& session)
{
    CArgumentPrompter prompter({args[0]});
    return LoadDescriptorsCommand(doc.unknownDescriptors, prompter, session) ? kTaskRan : kTaskFailed;
}

struct TaskCommand {
    const char* name;
    size_t minimumArguments;
    const char* arguments;
    int (*run)(CKivDoc& doc, const Arguments& args, CSession& session);
};

const TaskCommand kTaskCommands[] = {
    {"OpenBIB", 1, "library (.ssd)", OpenBibTask},
    {"SelectRecord", 1, "record number", SelectRecordTask},
    {"OpenFeatures", 0, "CDM file (optional)", OpenFeaturesTask},
    {"UseDataSpectralSimilaritySearch", 0, "", UseDataSpectralSimilaritySearchTask},
    {"DataFeatureSelection", 2, "matrix 1 X 2 Y, kind 1 constant 2 variance 3 correlation, option, n, v",
     DataFeatureSelectionTask},
    {"DescriptorsOpenUnknown", 1, "descriptor header file", DescriptorsOpenUnknownTask},
};

}  // namespace

int ExecuteTask(CKivDoc& doc, const std::string& task, CSession& session)
{
    const TaskCall call = SplitTask(task);
    for (const TaskCommand& command : kTaskCommands) {
        if (!EqualsIgnoreCase(command.name, call.name)) continue;
        if (call.arguments.size() < command.minimumArguments) return kTaskFailed;
        return command.run(doc, call.arguments, session);
    }
    const InteractiveCommand* command = FindInteractiveCommand(call.name);
    if (command == nullptr) return kTaskFailed;
    CArgumentPrompter prompter(call.arguments);
    command->run(doc, prompter, session);
    return kTaskRan;
}

std::vector<std::string> ScriptCommandList()
{
    std::vector<std::string> lines;
    for (const TaskCommand& command : kTaskCommands) lines.push_back(std::string(command.name) + "(" + command.arguments + ")");
    for (const InteractiveCommand& command : InteractiveCommands()) {
        lines.push_back(command.scriptName + "(" + command.arguments + ")");
    }
    return lines;
}

}  // namespace kiv
