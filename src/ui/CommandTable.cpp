#include "ui/CommandTable.h"

#include <cctype>
#include <map>

#include "base/TextFile.h"
#include "features/FeatureCommands.h"
#include "import/StructureImport.h"
#include "import/TextImport.h"
#include "search/DescriptorCommands.h"
#include "search/SearchCommands.h"
#include "settings/Parameters.h"

namespace kiv {

namespace {

void LogLines(const MessageLog& log, CSession& session)
{
    for (const std::string& line : log) session.Log(line);
}

void ImportToBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    doc.bib.SetPrompter(&prompter);
    ImportTextCommand(doc.bib, prompter, session);
}

void OpenBib(CKivDoc& doc, CPrompter& prompter, CSession& session) { OpenWorkingBib(doc, "", prompter, session); }

void CloseBib(CKivDoc& doc, CPrompter&, CSession& session) { CloseWorkingBib(doc, session); }

void AddStructuresToBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    doc.bib.SetPrompter(&prompter);
    AddStructuresCommand(doc.bib, prompter, session);
}

void LoadDefinition(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    doc.features.Reset();
    MessageLog log;
    LoadFeatureDefinitionFile(doc.features, prompter, log);
    LogLines(log, session);
    session.Redraw();
}

void CreateAndSaveFeatures(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    WriteFeaturesForBib(doc.bib, doc.features, prompter, session);
}

void SaveFeatureNames(CKivDoc& doc, CPrompter& prompter, CSession&) { doc.features.SaveFeatureNames(prompter); }

void SetSavemode(CKivDoc& doc, CPrompter& prompter, CSession&) { SetSaveMode(doc.features, prompter); }

void SaveFeatureMatrix(CKivDoc& doc, CPrompter& prompter, CSession&) { SaveFeatures(doc.features, prompter); }

void FeaturesCurrentMs(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CalculateFeaturesCurrentMs(doc.bib, doc.features, prompter, session);
}

void FeaturesForBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CalculateFeaturesForBib(doc.bib, doc.features, prompter, session);
}

void LoadParametersCommand(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    if (LoadParameters(doc.bib.parameters, "", prompter) != FileResult::Done) return;
    CopyParameters(doc.bib.parameters, doc.reference.bib.parameters);
    session.SetStatus("Parameters loaded");
}

void SaveParametersCommand(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    if (SaveParameters(doc.bib.parameters, "", doc.zoom, prompter) == FileResult::Done) session.SetStatus("Parameters saved");
}

void OpenCdm(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OpenCdmFeatures(doc.reference, doc.features, "", prompter, session);
}

void SearchCurrent(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SearchCurrentSpectrum(doc.bib, doc.features, doc.reference, doc.hitlist, prompter, session);
}

void SearchBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SearchWholeBib(doc.bib, doc.features, doc.reference, doc.hitlist, prompter, session);
}

void HitlistRecordNumbers(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SaveHitlistRecordNumbers(doc.hitlist, "", prompter, session);
}

void HitlistToBib(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    const std::optional<std::string> path =
        prompter.ChooseFileToSave({"Save Hitlist to BIB:", "*.ssd", kBibFileFilter, true});
    if (path) SaveHitlistToBib(doc.hitlist, doc.reference, *path, session);
}

void HitlistText(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SaveHitlistText(doc.hitlist, "", prompter, session);
}

void OpenDescriptors(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    OpenDescriptorsCommand(doc.reference.descriptors, prompter, session);
}

void LoadDescriptors(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    LoadDescriptorsCommand(doc.reference.descriptors, prompter, session);
}

void CloseDescriptors(CKivDoc& doc, CPrompter&, CSession& session)
{
    CloseDescriptorsCommand(doc.reference.descriptors, session);
}

void CopyBitString(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CopyBitStringCommand(doc.reference.descriptors, prompter, session);
}

void ShowDescriptor(CKivDoc& doc, CPrompter& prompter, CSession&)
{
    ShowDescriptorCommand(doc.reference.descriptors, prompter);
}

std::vector<InteractiveCommand> BuildTable()
{
    std::vector<InteractiveCommand> table = {
        {"Database", "Import to BIB Database", "JCAMP-DX file", ImportToBib, {}},
        {"Database", "Open BIB Database", "library (.ssd)", OpenBib, {}},
        {"Database", "Close BIB Database", "", CloseBib, {}},
        {"Database", "Add Structures to BIB Database", "option, library, SD file, output library", AddStructuresToBib, {}},
        {"Features", "Load Definition", "definition file", LoadDefinition, {}},
        {"Features", "Create and Save Features", "save mode, CDM format, output file", CreateAndSaveFeatures, {}},
        {"Features", "Save Feature Names", "names file", SaveFeatureNames, {}},
        {"Features", "Set Savemode", "save mode", SetSavemode, {}},
        {"Features", "Save Features", "save mode, CDM format, output file", SaveFeatureMatrix, {}},
        {"Features", "Calculate Features current MS", "definition file when none is loaded", FeaturesCurrentMs, {}},
        {"Features", "Calculate Features for BIB", "definition file when none is loaded", FeaturesForBib, {}},
        {"Options", "Load Parameters", "parameter file", LoadParametersCommand, {}},
        {"Options", "Save Parameters", "parameter file", SaveParametersCommand, {}},
        {"Reference", "Open CDM Features", "CDM file", OpenCdm, {}},
        {"Reference", "Spectral Similarity Search Current Spectrum", "", SearchCurrent, {}},
        {"Reference", "Spectral Similarity Search BIB", "", SearchBib, {}},
        {"Reference", "Save Hitlist Record Numbers", "output file", HitlistRecordNumbers, {}},
        {"Reference", "Save Hitlist to BIB", "output library (.ssd)", HitlistToBib, {}},
        {"Reference", "Save Hitlist Text", "output file", HitlistText, {}},
        {"Descriptors", "Open Descriptors", "descriptor header file", OpenDescriptors, {}},
        {"Descriptors", "Load Descriptors", "descriptor header file", LoadDescriptors, {}},
        {"Descriptors", "Close Descriptors", "", CloseDescriptors, {}},
        {"Descriptors", "Copy BitString", "object number", CopyBitString, {}},
        {"Descriptors", "Show Descriptor", "object number", ShowDescriptor, {}},
    };
    std::map<std::string, int> uses;
    for (const InteractiveCommand& command : table) ++uses[ScriptNameOf(command.entry)];
    for (InteractiveCommand& command : table) {
        const std::string name = ScriptNameOf(command.entry);
        command.scriptName = uses[name] > 1 ? ScriptNameOf(command.menu) + name : name;
    }
    return table;
}

}  // namespace

std::string ScriptNameOf(const std::string& text)
{
    std::string name;
    for (char c : text.substr(0, text.find('\t'))) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    }
    return name;
}

const std::vector<InteractiveCommand>& InteractiveCommands()
{
    static const std::vector<InteractiveCommand> table = BuildTable();
    return table;
}

const InteractiveCommand* FindInteractiveCommand(const std::string& name)
{
    for (const InteractiveCommand& command : InteractiveCommands()) {
        if (EqualsIgnoreCase(command.scriptName, name)) return &command;
    }
    return nullptr;
}

}  // namespace kiv
