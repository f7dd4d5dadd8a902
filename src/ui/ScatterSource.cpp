#include "ui/ScatterSource.h"

#include <algorithm>

namespace kiv {

namespace {

struct SourceName {
    ScatterSource source;
    const char* name;
};

constexpr SourceName kSourceNames[] = {
    {ScatterSource::MsMatrix, "MS Matrix"},
    {ScatterSource::Features, "Features"},
    {ScatterSource::XData, "X Data"},
    {ScatterSource::XScores, "X Scores"},
    {ScatterSource::XLoadings, "X Loadings"},
    {ScatterSource::YData, "Y Data"},
    {ScatterSource::YScores, "Y Scores"},
    {ScatterSource::YScoresAndPrediction, "Y Scores & Prediction"},
    {ScatterSource::YPrediction, "Y Prediction"},
    {ScatterSource::YLoadings, "Y Loadings"},
};

// The matrices of a source: the points, the second series and where the rows come from.
struct SourceMatrices {
    const CMatrix* points = nullptr;
    const CMatrix* second = nullptr;
    const CMatrixI* blocks = nullptr;  // library block per row of points
    const CMatrixI* classes = nullptr;
    const CMatrixI* secondBlocks = nullptr;
    const CMatrixI* secondClasses = nullptr;
    bool secondIsPrediction = false;
};

SourceMatrices MatricesOf(const CKivDoc& doc, ScatterSource source)
{
    const CDataSet& d = doc.data;
    switch (source) {
    case ScatterSource::MsMatrix: return {&doc.bib.run.msm};
    case ScatterSource::Features: return {&doc.features.features};
    case ScatterSource::XData: return {&d.X, &d.XU, &d.XObj, &d.XClass, &d.XUObj, &d.XUClass};
    case ScatterSource::XScores: return {&d.XScores, &d.XUScores, &d.XObj, &d.XClass, &d.XUObj, &d.XUClass};
    case ScatterSource::XLoadings: return {&d.XLoadings};
    case ScatterSource::YData: return {&d.Y, &d.YU, &d.XObj, &d.XClass, &d.XUObj, &d.XUClass};
    case ScatterSource::YScores: return {&d.YScores, &d.YUScores, &d.XObj, &d.XClass, &d.XUObj, &d.XUClass};
    case ScatterSource::YScoresAndPrediction:
        return {&d.YScores, &d.YPred, &d.XObj, &d.XClass, &d.XObj, &d.XClass, true};
    case ScatterSource::YPrediction: return {&d.YPred, &d.YUPred, &d.XObj, &d.XClass, &d.XUObj, &d.XUClass};
    case ScatterSource::YLoadings: return {&d.YLoadings};
    }
    return {};
}

// Rows of the whole-run and library sources are blocks themselves.
bool RowsAreBlocks(ScatterSource source)
{
    return source == ScatterSource::MsMatrix || source == ScatterSource::Features;
}

void FillSeries(const CMatrix& m, int xColumn, int yColumn, const CMatrixI* blocks, const CMatrixI* classes,
                bool rowsAreBlocks, ScatterSeries& series)
{
    const int n = m.Rows();
    series.x.resize(n);
    series.y.resize(n);
    series.blocks.assign(n, 0);
    series.classes.assign(n, 0);
    for (int i = 1; i <= n; ++i) {
        series.x[i - 1] = m.Get(i, xColumn);
        series.y[i - 1] = m.Get(i, yColumn);
        series.blocks[i - 1] = rowsAreBlocks ? i : blocks ? blocks->GetFlat(i) : 0;
        series.classes[i - 1] = classes ? classes->GetFlat(i) : 0;
    }
}

}  // namespace

std::optional<ScatterSource> ScatterSourceFromName(const std::string& name)
{
    for (const SourceName& s : kSourceNames) {
        if (name == s.name) return s.source;
    }
    return std::nullopt;
}

const char* ScatterSourceName(ScatterSource source)
{
    for (const SourceName& s : kSourceNames) {
        if (s.source == source) return s.name;
    }
    return "";
}

bool BuildScatterData(const CKivDoc& doc, ScatterSource source, int xColumn, int yColumn, ScatterData& data,
                      MessageLog& log)
{
    const SourceMatrices m = MatricesOf(doc, source);
    const int cols = m.points->Cols();
    if (m.points->Rows() == 0 || cols == 0 || xColumn < 1 || yColumn < 1) return false;
    xColumn = std::min(xColumn, cols);
    yColumn = std::min(yColumn, cols);
    data = ScatterData{};
    data.title = ScatterSourceName(source);
    data.prediction = m.secondIsPrediction;
    const bool blocks = RowsAreBlocks(source);
    FillSeries(*m.points, xColumn, yColumn, m.blocks, m.classes, blocks, data.objects);
    if (m.second && m.second->Rows() > 0) {
        // The unknowns (or the predictions) share the columns of the points.
        const int secondCols = m.second->Cols();
        FillSeries(*m.second, std::min(xColumn, secondCols), std::min(yColumn, secondCols), m.secondBlocks,
                   m.secondClasses, blocks, data.second);
        data.second.unknowns = !m.secondIsPrediction;
    }
    if (data.prediction && data.second.Size() < data.objects.Size()) log.push_back("Prediction Plot: Object missing");
    return true;
}

}  // namespace kiv
