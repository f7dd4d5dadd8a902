#include "chemometrics/CombinedSelection.h"

#include "base/Format.h"
#include "base/Reporter.h"
#include "chemometrics/DataSetCommands.h"
#include "chemometrics/FeatureSelection.h"

namespace kiv {

namespace {

void ConstantStep(const DataMatrixParts& parts, DataMatrix matrix, CPrompter& prompter, CSession& session)
{
    const int before = parts.data.Cols();
    const int allowed = AskConstantOption(prompter, matrix, parts.data, kAskOption);
    const ColumnMask keep = allowed < 0 ? ColumnMask(static_cast<size_t>(before), 1) : ConstantRule(parts.data, allowed);
    const int k = KeptCount(keep);
    if (k < before) {
        session.Log(Format("Constant Features: Delete %d of %d Features, %d remaining", before - k, before, k));
        KeepColumns(parts, keep);
    } else {
        session.Log(Format("Constant Features: No Features to delete, %d remaining", before));
    }
}

void VarianceStep(const DataMatrixParts& parts, DataMatrix matrix, CPrompter& prompter, CSession& session)
{
    const int before = parts.data.Cols();
    CMatrixNumerics means, variances;
    parts.data.ColMeanVar(means, variances);
    VarianceOption option = VarianceOptionFromCode(AskVarianceOption(prompter, matrix, parts.data, variances, kAskOption));
    int n = kAskOption;
    double v = kAskThreshold;
    if (!AskVarianceParameter(prompter, option, n, v)) option = VarianceOption::KeepAll;
    const VarianceOutcome outcome = VarianceRule(variances, option, n, v);
    if (!outcome.targetReached) ReportRunTimeError("Sum of Variance too high!");
    const int k = KeptCount(outcome.keep);
    if (k < before) {
        session.Log(Format("Variance: Delete %d of %d Features, %d %6.2f%%var remaining", before - k, before, k,
                           outcome.percentKept));
        KeepColumns(parts, outcome.keep);
    } else {
        session.Log(Format("Variance: No Features to delete, %d fremaining", before));
    }
}

}  // namespace

void CombinedSelection(CDataSet& set, DataMatrix matrix, const std::vector<std::string>& featureNames,
                       CPrompter& prompter, CSession& session)
{
    const DataMatrixParts parts = PartsOf(set, matrix);
    ConstantStep(parts, matrix, prompter, session);
    VarianceStep(parts, matrix, prompter, session);
    session.Log(Format("Selected %s Features", DataMatrixName(matrix)));
    for (const std::string& line : FeatureListLines(set, matrix, featureNames)) session.Log(line);
    session.Redraw();
}

}  // namespace kiv
