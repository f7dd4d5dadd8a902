#pragma once
// Feature selection on the data set: removes columns of X (with XU and XFeat) or of Y (with YU
// and YFeat) that are constant, of low variance or strongly correlated with another column, and
// logs what it removed. Numbers below their valid range mean "ask": the menu commands pass
// kAskOption for option and n and kAskThreshold for v, scripts pass explicit values.
#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/DataSet.h"
#include "chemometrics/SelectionRules.h"

namespace kiv {

constexpr int kAskOption = -2;
constexpr double kAskThreshold = -999.9;

enum class SelectionKind { Constant, Variance, Correlation };
// 1 constant, 2 variance, 3 correlation; false for any other code.
bool SelectionKindFromCode(int code, SelectionKind& kind);

// matrix: 1 X, 2 Y. Constant: option = n, the number of objects that may differ from the common
// value (below 0 nothing happens). Variance: option 0, 1, 2 with n (option 0) or v (options 1,
// 2). Correlation: v = the threshold. Returns 1 when the selection ran, 0 for a matrix or kind
// code that does not exist.
int SelectFeatures(CDataSet& set, int matrix, int kind, int option, int n, double v, CPrompter& prompter,
                   CSession& session);

// The prompts of the selection, shared with the combined selection. Each returns the given
// value when it is not below its range, else asks.
int AskConstantOption(CPrompter& prompter, DataMatrix matrix, const CMatrix& x, int n);
// variances: the column variances of x.
int AskVarianceOption(CPrompter& prompter, DataMatrix matrix, const CMatrix& x, const CMatrixNumerics& variances,
                      int option);
// The parameter of a variance option: n for option 0, v (s in percent) for options 1 and 2.
// False when it is still unset after the prompt (cancelled).
bool AskVarianceParameter(CPrompter& prompter, VarianceOption option, int& n, double& v);
// The correlation threshold r; below -1 when it is still unset after the prompt.
double AskCorrelationThreshold(CPrompter& prompter, double v);

}  // namespace kiv
