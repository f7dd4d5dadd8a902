#include "ui/DataMenu.h"

#include "chemometrics/Centring.h"
#include "chemometrics/CombinedSelection.h"
#include "chemometrics/CrossValidation.h"
#include "chemometrics/DataBuilders.h"
#include "chemometrics/DataSetCommands.h"
#include "chemometrics/FeatureSelection.h"
#include "chemometrics/Pca.h"
#include "chemometrics/PcaDiagnostics.h"
#include "chemometrics/Pls.h"

namespace kiv {

namespace {

// The menu commands let SelectFeatures ask for option, n and v.
constexpr int kAskOption = -2;
constexpr double kAskThreshold = -999.9;

const std::vector<std::string>& NamesOf(const CKivDoc& doc, DataMatrix matrix)
{
    static const std::vector<std::string> none;
    return matrix == DataMatrix::X ? doc.features.names : none;
}

void ClearData(CKivDoc& doc, CPrompter&, CSession& session) { ClearDataCommand(doc.data, session); }

void ShowData(CKivDoc& doc, CPrompter&, CSession& session) { ShowDataCommand(doc.data, session); }

void ImportData(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    ImportDataCommand(doc.data, "", prompter, session);
}

template <LoadTarget target>
void LoadData(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    LoadDataCommand(doc.data, target, "", prompter, session);
}

template <SaveTarget target>
void SaveData(CKivDoc& doc, CPrompter& prompter, CSession&)
{
    SaveDataCommand(doc.data, target, "", prompter);
}

void UseFeaturesX(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    UseBibFeaturesX(doc.data, doc.bib, doc.features, prompter, session);
}

void UseSelectedFeaturesX(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    UseSelectedBibFeaturesX(doc.data, doc.bib, doc.features, prompter, session);
}

void UseSpectraX(CKivDoc& doc, CPrompter&, CSession& session) { UseBibSpectraX(doc.data, doc.bib, session); }

void UseSelectedSpectraX(CKivDoc& doc, CPrompter&, CSession& session)
{
    UseSelectedBibSpectraX(doc.data, doc.bib, session);
}

void UseSpecSimSearch(CKivDoc& doc, CPrompter&, CSession& session) { UseSpecSimSearchFeatures(doc, session); }

void UseDescriptorsY(CKivDoc& doc, CPrompter&, CSession& session)
{
    UseDescriptorsYCommand(doc.data, doc.reference.descriptors, session);
}

template <DataMatrix matrix, SelectionKind kind>
void Select(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SelectFeatures(doc.data, matrix == DataMatrix::X ? 1 : 2, static_cast<int>(kind) + 1, kAskOption, kAskOption,
                   kAskThreshold, prompter, session);
}

template <DataMatrix matrix>
void OldConstVar(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    CombinedSelection(doc.data, matrix, NamesOf(doc, matrix), prompter, session);
}

template <DataMatrix matrix>
void ShowFeatures(CKivDoc& doc, CPrompter&, CSession& session)
{
    ShowFeaturesCommand(doc.data, matrix, NamesOf(doc, matrix), session);
}

template <DataMatrix matrix>
void SaveFeatureList(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    SaveFeaturesCommand(doc.data, matrix, NamesOf(doc, matrix), "", prompter, session);
}

template <DataMatrix matrix>
void AutoscaleMatrix(CKivDoc& doc, CPrompter&, CSession& session)
{
    Autoscale(doc.data, matrix, session);
}

template <DataMatrix matrix>
void PcaOf(CKivDoc& doc, CPrompter&, CSession& session)
{
    PcaCommand(doc.data, matrix, session, doc.scorePlots);
}

void PlsXY(CKivDoc& doc, CPrompter&, CSession& session) { PlsCommand(doc.data, session, doc.scorePlots); }

void PlsCrossValidationOf(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    PlsCrossValidationCommand(doc.data, -1, prompter, session);
}

void PcaDiagnosticsOf(CKivDoc& doc, CPrompter& prompter, CSession& session)
{
    PcaDiagnosticsCommand(doc.data, 0, prompter, session);
}

}  // namespace

void UseSpecSimSearchFeatures(CKivDoc& doc, CSession& session)
{
    UseSpecSimSearchXY(doc.data, doc.hitlist, doc.reference, {doc.bib, doc.features, doc.unknownDescriptors}, session);
}

void AddDataMenuCommands(CommandList& commands)
{
    constexpr DataMatrix X = DataMatrix::X;
    constexpr DataMatrix Y = DataMatrix::Y;
    commands.insert(commands.end(), {
        {"Data", "Clear Data", "", ClearData, {}},
        {"Data", "Show Data", "", ShowData, {}},
        {"Data", "Import", "titled matrix file", ImportData, {}},
        {"Data", "Load X", "CDM or text matrix file", LoadData<LoadTarget::X>, {}},
        {"Data", "Load X Unknown", "CDM or text matrix file", LoadData<LoadTarget::XUnknown>, {}},
        {"Data", "Load Y", "CDM or text matrix file", LoadData<LoadTarget::Y>, {}},
        {"Data", "Load Y Unknown", "CDM or text matrix file", LoadData<LoadTarget::YUnknown>, {}},
        {"Data", "Save X", "format, output file", SaveData<SaveTarget::X>, {}},
        {"Data", "Save X Unknown", "format, output file", SaveData<SaveTarget::XUnknown>, {}},
        {"Data", "Save X Scores", "format, output file", SaveData<SaveTarget::XScores>, {}},
        {"Data", "Save X Unk Scores", "format, output file", SaveData<SaveTarget::XUnknownScores>, {}},
        {"Data", "Save Y", "format, output file", SaveData<SaveTarget::Y>, {}},
        {"Data", "Save Y Unknown", "format, output file", SaveData<SaveTarget::YUnknown>, {}},
        {"Data", "Save Y Scores", "format, output file", SaveData<SaveTarget::YScores>, {}},
        {"Data", "Save Y Unk Scores", "format, output file", SaveData<SaveTarget::YUnknownScores>, {}},
        {"Data", "Save Y Predicted", "format, output file", SaveData<SaveTarget::YPredicted>, {}},
        {"Data", "Save Y Unk Pre", "format, output file", SaveData<SaveTarget::YUnknownPredicted>, {}},
        {"Data", "Save Cross Validation", "format, output file", SaveData<SaveTarget::CrossValidation>, {}},
        {"Data", "Save PCA T2 and Q", "format, output file", SaveData<SaveTarget::PcaDiagnostics>, {}},
        {"Data", "Use Features of MS of BIB X", "definition file when none is loaded", UseFeaturesX, {}},
        {"Data", "Use Features of selected MS of BIB X", "definition file when none is loaded", UseSelectedFeaturesX, {}},
        {"Data", "Use MS of BIB X", "", UseSpectraX, {}},
        {"Data", "Use selected MS of BIB X", "", UseSelectedSpectraX, {}},
        {"Data", "Use Spec Sim Search Features X&&Y", "", UseSpecSimSearch, {}},
        {"Data", "Use Descriptors Y", "", UseDescriptorsY, {}},
        {"X", "Constant", "n", Select<X, SelectionKind::Constant>, {}},
        {"X", "Variance", "option, n or s", Select<X, SelectionKind::Variance>, {}},
        {"X", "Correlation", "r", Select<X, SelectionKind::Correlation>, {}},
        {"X", "old Const&&Var", "n, option, n or s", OldConstVar<X>, {}},
        {"X", "Show Features", "", ShowFeatures<X>, {}},
        {"X", "Save Features", "output file", SaveFeatureList<X>, {}},
        {"X", "Autoscale", "", AutoscaleMatrix<X>, {}},
        {"Y", "Constant", "n", Select<Y, SelectionKind::Constant>, {}},
        {"Y", "Variance", "option, n or s", Select<Y, SelectionKind::Variance>, {}},
        {"Y", "Correlation", "r", Select<Y, SelectionKind::Correlation>, {}},
        {"Y", "old Const&&Var", "n, option, n or s", OldConstVar<Y>, {}},
        {"Y", "Show Features", "", ShowFeatures<Y>, {}},
        {"Y", "Save Features", "output file", SaveFeatureList<Y>, {}},
        {"Y", "Autoscale", "", AutoscaleMatrix<Y>, {}},
        {"Chemometrics", "PCA X", "", PcaOf<X>, {}},
        {"Chemometrics", "PCA Y", "", PcaOf<Y>, {}},
        {"Chemometrics", "PLS X&&Y", "", PlsXY, {}},
        {"Chemometrics", "PLS Cross-Validation", "number of groups (0: leave-one-out)", PlsCrossValidationOf, {}},
        {"Chemometrics", "PCA T2 and Q", "number of components", PcaDiagnosticsOf, {}},
    });
}

}  // namespace kiv
