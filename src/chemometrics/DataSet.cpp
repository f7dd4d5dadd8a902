#include "chemometrics/DataSet.h"

namespace kiv {

void CDataSet::Clear()
{
    for (CMatrixNumerics* m : {&X, &XU, &Y, &YU, &XMean, &YMean, &XScores, &XUScores, &XSingular, &XLoadings,
                               &YScores, &YUScores, &YSingular, &YLoadings, &YPred, &YUPred, &XScale, &YScale,
                               &CrossValidation, &PcaDiagnostics})
        m->Free();
    for (CMatrixI* m : {&XClass, &XUClass, &XObj, &XUObj, &XFeat, &YFeat}) m->Free();
    XScoresModel = XModel::None;
}

bool DataMatrixFromCode(int code, DataMatrix& matrix)
{
    switch (code) {
    case 1: matrix = DataMatrix::X; return true;
    case 2: matrix = DataMatrix::Y; return true;
    default: return false;
    }
}

const char* DataMatrixName(DataMatrix matrix)
{
    return matrix == DataMatrix::X ? "X" : "Y";
}

DataMatrixParts PartsOf(CDataSet& set, DataMatrix matrix)
{
    if (matrix == DataMatrix::X) return {set.X, set.XU, set.XFeat};
    return {set.Y, set.YU, set.YFeat};
}

}  // namespace kiv
