#include "chemometrics/DataSetCommands.h"

#include "base/Format.h"
#include "base/TextFile.h"
#include "chemometrics/Centring.h"
#include "matrix/CdmFile.h"

namespace kiv {

namespace {

struct LoadSpec {
    DataMatrix matrix;
    bool unknowns;
    const char* message;  // "%dx%d" filled with rows and cols
};

LoadSpec SpecOf(LoadTarget target)
{
    switch (target) {
    case LoadTarget::X: return {DataMatrix::X, false, "X %dx%d loaded."};
    case LoadTarget::XUnknown: return {DataMatrix::X, true, "X unknown %dx%d loaded."};
    case LoadTarget::Y: return {DataMatrix::Y, false, "Y %dx%d loaded."};
    case LoadTarget::YUnknown: break;
    }
    return {DataMatrix::Y, true, "Y unknown %dx%d loaded."};
}

struct SaveSpec {
    CMatrixNumerics* matrix;
    const char* prompt;
};

SaveSpec SpecOf(CDataSet& set, SaveTarget target)
{
    switch (target) {
    case SaveTarget::X: return {&set.X, "Save X - "};
    case SaveTarget::XUnknown: return {&set.XU, "Save X Unknown - "};
    case SaveTarget::XScores: return {&set.XScores, "Save X Scores - "};
    case SaveTarget::XUnknownScores: return {&set.XUScores, "Save X Unknown Scores - "};
    case SaveTarget::Y: return {&set.Y, "Save Y - "};
    case SaveTarget::YUnknown: return {&set.YU, "Save Y Unknown - "};
    case SaveTarget::YScores: return {&set.YScores, "Save Y Scores - "};
    case SaveTarget::YUnknownScores: return {&set.YUScores, "Save Y Unknown Scores - "};
    case SaveTarget::YPredicted: return {&set.YPred, "Save Y Scores Predicted - "};
    case SaveTarget::YUnknownPredicted: return {&set.YUPred, "Save Y Unknown Scores Predicted - "};
    case SaveTarget::CrossValidation: return {&set.CrossValidation, "Save PLS Cross-Validation - "};
    case SaveTarget::PcaDiagnostics: break;
    }
    return {&set.PcaDiagnostics, "Save PCA T2 and Q - "};
}

std::string FeatureLine(DataMatrix matrix, int i, int f, const std::vector<std::string>& names)
{
    if (matrix == DataMatrix::Y) return Format("#%06d %06d", i, f);
    if (f < 0) return Format("#%06d M%06d", i, -f);
    if (f >= 1 && static_cast<size_t>(f) <= names.size())
        return Format("#%06d F%06d %s", i, f, names[static_cast<size_t>(f - 1)].c_str());
    return Format("#%06d F%06d", i, f);
}

}  // namespace

void ClearDataCommand(CDataSet& set, CSession& session)
{
    set.Clear();
    ShowDataCommand(set, session);
}

void ShowDataCommand(const CDataSet& set, CSession& session)
{
    session.ClearLog();
    session.Log(Format("Data: X %dx%d   XU %dx%d   Selection: Obj %d   ObjU %d   Feat %d", set.X.Rows(), set.X.Cols(),
                       set.XU.Rows(), set.XU.Cols(), set.XObj.Cols(), set.XUObj.Cols(), set.XFeat.Cols()));
    session.Log(Format("Data: Y %dx%d   YU %dx%d   Selection: Feat %d", set.Y.Rows(), set.Y.Cols(), set.YU.Rows(),
                       set.YU.Cols(), set.YFeat.Cols()));
    session.Log(Format("Scores: X %dx%d   XU %dx%d", set.XScores.Rows(), set.XScores.Cols(), set.XUScores.Rows(),
                       set.XUScores.Cols()));
    session.Log(Format("Scores: Y %dx%d   YU %dx%d", set.YScores.Rows(), set.YScores.Cols(), set.YUScores.Rows(),
                       set.YUScores.Cols()));
    session.Log(Format("Prediction: Y %dx%d   YU %dx%d", set.YPred.Rows(), set.YPred.Cols(), set.YUPred.Rows(),
                       set.YUPred.Cols()));
    session.Redraw();
}

void ImportDataCommand(CDataSet& set, const std::string& path, CPrompter& prompter, CSession& session)
{
    std::string chosen = path;
    if (chosen.empty()) {
        const auto file = prompter.ChooseFileToOpen(
            {"Import Data Matrix", "*.*", "All Files (*.*)|*.*|Matrix Files (*.mat)|*.mat|Text Files (*.txt)|*.txt||"});
        if (!file) return;
        chosen = *file;
    }
    Uncentre(set, DataMatrix::X);
    MessageLog log;
    set.X.LoadClassFile(chosen, log, set.XClass);
    for (const std::string& line : log) session.Log(line);
    session.Redraw();
}

void LoadDataCommand(CDataSet& set, LoadTarget target, const std::string& path, CPrompter& prompter,
                     CSession& session)
{
    const LoadSpec spec = SpecOf(target);
    CMatrix loaded;
    CCdmFile cdm;
    cdm.Attach(loaded);
    if (cdm.Load(path, prompter) == CdmLoad::NotOpened) return;
    cdm.ReadData(0);
    cdm.CloseRead();
    // The new matrix is raw: the old data and unknowns go back to raw values too, so that the
    // next analysis centres them together.
    Uncentre(set, spec.matrix);
    DataMatrixParts parts = PartsOf(set, spec.matrix);
    CMatrixNumerics& destination = spec.unknowns ? parts.unknowns : parts.data;
    destination = std::move(loaded);
    session.Log(Format(spec.message, destination.Rows(), destination.Cols()));
    session.Redraw();
}

void SaveDataCommand(CDataSet& set, SaveTarget target, const std::string& path, CPrompter& prompter)
{
    const SaveSpec spec = SpecOf(set, target);
    const std::string format =
        AskText(prompter, std::string(spec.prompt) + CCdmFile::FormatChoice(0), "TEXT\t%12.5f",
                {{"TEXT %12.5f", "TEXT\t%12.5f"}, {"FLOAT", "FLOAT"}, {"DOUBLE", "DOUBLE"}});
    CCdmFile cdm;
    cdm.Attach(*spec.matrix);
    if (!cdm.Save(format, path, 0, 0, prompter)) return;
    cdm.WriteData();
    cdm.CloseWrite();
}

std::vector<std::string> FeatureListLines(const CDataSet& set, DataMatrix matrix,
                                          const std::vector<std::string>& featureNames)
{
    const CMatrixI& columns = matrix == DataMatrix::X ? set.XFeat : set.YFeat;
    const int count = matrix == DataMatrix::X ? set.X.Cols() : set.Y.Cols();
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back(FeatureLine(matrix, i, columns.GetFlat(i), featureNames));
    return lines;
}

void ShowFeaturesCommand(const CDataSet& set, DataMatrix matrix, const std::vector<std::string>& featureNames,
                         CSession& session)
{
    const int count = matrix == DataMatrix::X ? set.X.Cols() : set.Y.Cols();
    session.ClearLog();
    session.Log(Format("%d Selected %s Features", count, DataMatrixName(matrix)));
    for (const std::string& line : FeatureListLines(set, matrix, featureNames)) session.Log(line);
    session.Redraw();
}

void SaveFeaturesCommand(const CDataSet& set, DataMatrix matrix, const std::vector<std::string>& featureNames,
                         const std::string& path, CPrompter& prompter, CSession& session)
{
    std::string chosen = path;
    if (chosen.empty()) {
        const auto file = prompter.ChooseFileToSave(
            {"Save Features as Text:", "*.txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", true});
        if (!file) return;
        chosen = *file;
    }
    CTextWriter writer;
    if (!writer.Open(chosen)) {
        session.SetStatus(Format("Cannot create %s", chosen.c_str()));
        return;
    }
    const int count = matrix == DataMatrix::X ? set.X.Cols() : set.Y.Cols();
    session.Log(Format("Save %d Selected %s Features", count, DataMatrixName(matrix)));
    for (const std::string& line : FeatureListLines(set, matrix, featureNames)) {
        writer.Write(line);
        writer.Write("\n");
    }
}

}  // namespace kiv
