#pragma once
// The chemometric data set of the document: the data matrix X (objects x features), the
// property matrix Y of the same objects, the unknowns XU and YU with the same columns, the index
// vectors that say which library records the rows are and which features (or masses) the
// columns are, and the results of PCA and PLS. An empty mean vector means that the matrix is not
// centred yet; an empty scale vector that it is not scaled to unit variance.
#include "matrix/MatrixI.h"
#include "matrix/MatrixNumerics.h"

namespace kiv {

struct CDataSet {
    CMatrixNumerics X;
    CMatrixI XClass;  // objects x 1: class number of each object of a titled matrix file
    // Row index of X: record k of the working library as k, record k of the reference library
    // (a hit) as -k.
    CMatrixI XObj;
    // Column index of X: feature f of the loaded definitions as f, the intensity at mass m as -m.
    CMatrixI XFeat;
    CMatrixNumerics XU;
    CMatrixI XUClass;
    CMatrixI XUObj;
    CMatrixNumerics Y;
    CMatrixI YFeat;
    CMatrixNumerics YU;
    CMatrixNumerics XMean, YMean;
    CMatrixNumerics XScores, XUScores, XSingular, XLoadings;
    CMatrixNumerics YScores, YUScores, YSingular, YLoadings;
    CMatrixNumerics YPred, YUPred;
    // Column standard deviations X and XU (Y and YU) were divided by after centring.
    CMatrixNumerics XScale, YScale;
    // Results of the model checks: per number of PLS components the cross-validation errors, per
    // object of a PCA model Hotelling's T^2 and the Q residual.
    CMatrixNumerics CrossValidation;
    CMatrixNumerics PcaDiagnostics;
    // Which analysis made XScores, XSingular and XLoadings (the outlier statistics need a PCA).
    enum class XModel { None, Pca, Pls };
    XModel XScoresModel = XModel::None;

    // Every member 0 x 0.
    void Clear();
};

// Which of the two data matrices a command works on, with its unknowns and column index.
enum class DataMatrix { X, Y };
// The matrix code of scripts and menus: 1 X, 2 Y; false for any other code.
bool DataMatrixFromCode(int code, DataMatrix& matrix);
const char* DataMatrixName(DataMatrix matrix);  // "X" or "Y"

// The parts of the data set one data matrix consists of.
struct DataMatrixParts {
    CMatrixNumerics& data;
    CMatrixNumerics& unknowns;
    CMatrixI& columns;
};
DataMatrixParts PartsOf(CDataSet& set, DataMatrix matrix);

}  // namespace kiv
