#include "ui/FeaturesMenu.h"

#include "features/FeatureCommands.h"

namespace kiv {

namespace {

void LoadDefinition(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    doc.features.Reset();
    MessageLog log;
    LoadFeatureDefinitionFile(doc.features, prompter, log);
    for (const std::string& line : log) session.Log(line);
    session.Redraw();
}

void CreateAndSaveFeatures(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CLibraryPrompterScope scope(doc.bib, prompter);
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

void FeaturesForBibMem(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CalculateFeaturesForBibMem(doc.bib, doc.bib.run.msm, doc.features, prompter, session);
}

}  // namespace

void AddFeaturesMenuCommands(CommandList& commands)
{
    commands.insert(commands.end(), {
        {"Features", "Load Definition", "definition file", LoadDefinition, {}},
        {"Features", "Create and Save Features", "save mode, CDM format, output file", CreateAndSaveFeatures, {}},
        {"Features", "Save Feature Names", "names file", SaveFeatureNames, {}},
        {"Features", "Set Savemode", "save mode", SetSavemode, {}},
        {"Features", "Save Features", "save mode, CDM format, output file", SaveFeatureMatrix, {}},
        {"Features", "Calculate Features current MS", "definition file when none is loaded", FeaturesCurrentMs, {}},
        {"Features", "Calculate Features for BIB", "definition file when none is loaded", FeaturesForBib, {}},
        {"Features", "Calculate Features for BIB_Mem", "definition file when none is loaded", FeaturesForBibMem, {}},
    });
}

}  // namespace kiv
