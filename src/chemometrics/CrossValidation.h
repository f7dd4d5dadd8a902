#pragma once
// Cross-validation of the PLS model: the objects are split into groups of consecutive objects,
// each group is predicted by the model of all the others (centred with their own means), and
// per number of components the prediction error RMSECV and the predictive Q^2 are reported.
#include <vector>

#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/DataSet.h"

namespace kiv {

// First object (0-based) of each of the k groups of m objects, plus m at the end: the first
// m % k groups hold one object more (the usual k-fold split without shuffling).
std::vector<int> FoldBounds(int m, int k);

// Rows a = 1..A with the columns a, RMSECV = sqrt(PRESS / (m q)) and Q^2 = 1 - PRESS / SS
// (SS the squared deviations of Y from its mean); A = min(smallest training set, n, q). Empty
// when there are fewer than 3 objects, X and Y differ in rows, or a group is empty. Stops early
// (empty) on a cancel or stop request.
CMatrixNumerics PlsCrossValidation(const CMatrixNumerics& x, const CMatrixNumerics& y, int folds);

// The number of components of smallest RMSECV (the smaller on ties); 0 for an empty table.
int SuggestedComponents(const CMatrixNumerics& table);

// "PLS Cross-Validation": folds below 0 asks for the number of groups (0 or the number of
// objects and above: leave-one-out). Logs the table and the suggestion and keeps the table in
// the data set's CrossValidation matrix.
void PlsCrossValidationCommand(CDataSet& set, int folds, CPrompter& prompter, CSession& session);

}  // namespace kiv
