#pragma once
// Partial least squares of Y on X in one step, without deflation: the X weights are the
// eigenvectors of X^T Y Y^T X, the Y weights those of Y^T X X^T Y, the scores the centred data
// times the weights, and an inner relation b_i = t_i^T u_i / t_i^T t_i predicts the Y scores
// from the X scores component by component.
#include "base/Session.h"
#include "chemometrics/DataSet.h"
#include "chemometrics/ScorePlots.h"

namespace kiv {

struct PlsModel {
    CMatrixNumerics xWeights;  // n x a
    CMatrixNumerics xSingular;  // 1 x a: singular values of X^T Y Y^T X
    CMatrixNumerics yWeights;  // q x a
    CMatrixNumerics ySingular;  // 1 x a: singular values of Y^T X X^T Y
    CMatrixNumerics xScores;  // m x a
    CMatrixNumerics yScores;  // m x a
    CMatrixNumerics inner;  // 1 x a: b_1..b_a
};

// The model of centred X (m x n) and Y (m x q) with a = min(m, n, q) components. Both symmetric
// products share the cross-product C = X^T Y: their eigenvectors are the left and right singular
// vectors of C and their singular values the squares of C's, so C is decomposed once (n x q
// instead of n x n and q x q; same results up to rounding and the signs of the vectors).
PlsModel FitPls(const CMatrixNumerics& x, const CMatrixNumerics& y);

// Y predicted from centred rows x with the first `components` components (centred, in the
// units of the Y the model was fitted to): (x W) diag(b) Q^T.
CMatrixNumerics PredictPls(const PlsModel& model, const CMatrixNumerics& x, int components);

// "PLS X&&Y": centres X, Y and their unknowns, fits the model, stores weights, singular values,
// scores and the predicted Y scores of the objects and unknowns, and shows the scores.
void PlsCommand(CDataSet& set, CSession& session, CScorePlots* plots);

}  // namespace kiv
