#pragma once
// Principal component analysis of X or Y by singular value decomposition of the centred matrix:
// loadings (right singular vectors), singular values, scores of the objects and of the
// unknowns, and the table of explained variance per component.
#include "base/Session.h"
#include "chemometrics/DataSet.h"
#include "chemometrics/ScorePlots.h"

namespace kiv {

// The decomposition of a centred m x n matrix: c = min(m, n) components (n when m >= n).
struct PcaModel {
    CMatrixNumerics loadings;  // n x c
    CMatrixNumerics singular;  // 1 x c, descending
    CMatrixNumerics scores;  // m x c
};
PcaModel FitPca(const CMatrixNumerics& centred);

// "PCA X" / "PCA Y": centres the matrix and its unknowns, stores loadings, singular values and
// scores, logs the variance table and shows the scores on scatter plot 1 (X) or 2 (Y).
void PcaCommand(CDataSet& set, DataMatrix matrix, CSession& session, CScorePlots* plots);

// "%3d: %13.6f %13.6f" lines of explained variance (percent) and singular value per component,
// ending before the first component that explains less than 1e-12 percent (or when there is no
// variance at all).
void LogVarianceTable(const CMatrixNumerics& scores, const CMatrixNumerics& singular, CSession& session);

}  // namespace kiv
