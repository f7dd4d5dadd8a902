#include "chemometrics/FeatureSelection.h"

#include <algorithm>
#include <string>

#include "base/Format.h"

namespace kiv {

namespace {

const char* KindName(SelectionKind kind)
{
    switch (kind) {
    case SelectionKind::Constant: return "Constant";
    case SelectionKind::Variance: return "Variance";
    case SelectionKind::Correlation: break;
    }
    return "Correlation";
}

std::string PromptHead(DataMatrix matrix)
{
    return std::string(DataMatrixName(matrix)) + " Feature Selection\n";
}

void ApplyAndLog(const DataMatrixParts& parts, DataMatrix matrix, SelectionKind kind, const ColumnMask& keep,
                 const std::string& suffix, CSession& session)
{
    const int c = parts.data.Cols();
    const int k = KeptCount(keep);
    const char* name = DataMatrixName(matrix);
    if (k < c) {
        session.Log(Format("Select %s %s:Delete %d of %d Features, %d remaining %s", name, KindName(kind), c - k, c, k,
                           suffix.c_str()));
        KeepColumns(parts, keep);
    } else {
        session.Log(Format("Select %s %s: No Features to delete, %d remaining", name, KindName(kind), c));
    }
    session.Redraw();
}

void SelectVariance(const DataMatrixParts& parts, DataMatrix matrix, int option, int n, double v, CPrompter& prompter,
                    CSession& session)
{
    CMatrixNumerics means, variances;
    parts.data.ColMeanVar(means, variances);
    VarianceOption chosen = VarianceOptionFromCode(AskVarianceOption(prompter, matrix, parts.data, variances, option));
    // A parameter still unset after its prompt was cancelled: nothing is removed.
    if (!AskVarianceParameter(prompter, chosen, n, v)) chosen = VarianceOption::KeepAll;
    const VarianceOutcome outcome = VarianceRule(variances, chosen, n, v);
    std::string suffix;
    if (chosen == VarianceOption::PercentOfSum && parts.data.Cols() > 0)
        suffix = outcome.targetReached ? Format(", %6.2f%%var remaining", outcome.percentKept)
                                       : std::string(", sum of variances too high");
    ApplyAndLog(parts, matrix, SelectionKind::Variance, outcome.keep, suffix, session);
}

}  // namespace

bool SelectionKindFromCode(int code, SelectionKind& kind)
{
    switch (code) {
    case 1: kind = SelectionKind::Constant; return true;
    case 2: kind = SelectionKind::Variance; return true;
    case 3: kind = SelectionKind::Correlation; return true;
    default: return false;
    }
}

int AskConstantOption(CPrompter& prompter, DataMatrix matrix, const CMatrix& x, int n)
{
    if (n >= -1) return n;
    const std::string prompt = PromptHead(matrix) + Format("%d Objects   %d Features\n", x.Rows(), x.Cols()) +
                               "Remove constant Features\nRemove Features only n non-constant values.\n"
                               "n = 0, 1, ...\nn = -1 ... do not remove Features\n";
    return AskInteger(prompter, prompt, -1,
                      {{"const but 10", "10"}, {"const but 5", "5"}, {"const but 3", "3"}, {"const but 2", "2"},
                       {"const but 1", "1"}, {"constant", "0"}});
}

int AskVarianceOption(CPrompter& prompter, DataMatrix matrix, const CMatrix& x, const CMatrixNumerics& variances,
                      int option)
{
    if (option >= -1) return option;
    double mean = 0.0, spread = 0.0;
    variances.RowStat(1, mean, spread);
    const auto values = variances.Flat();
    const double least = values.size() > 0 ? *std::min_element(values.begin(), values.end()) : 0.0;
    const double most = values.size() > 0 ? *std::max_element(values.begin(), values.end()) : 0.0;
    const std::string prompt =
        PromptHead(matrix) +
        Format("%d Objects   %d Features\nVariance of Features sum=%0.3f mean=%0.3f var=%0.3f min=%0.3f max=%0.3f\n",
               x.Rows(), x.Cols(), variances.Sum(), mean, spread, least, most) +
        "Remove Features with low Variance\n"
        " 0\tselect n Features with highest Variance\n"
        " 1\tselect Features with Variance v or higher\n"
        " 2\tselect Features with Sum of Variance s or higher\n"
        "-1\tdo not remove Features\n";
    return AskInteger(prompter, prompt, -1, {{"VarSum", "2"}, {"Variance", "1"}, {"NoFeatures", "0"}});
}

bool AskVarianceParameter(CPrompter& prompter, VarianceOption option, int& n, double& v)
{
    switch (option) {
    case VarianceOption::HighestCount:
        if (n < -1) n = AskInteger(prompter, "Select n Features with highest Variance\nEnter n:", n);
        return n >= -1;
    case VarianceOption::AtLeast:
        if (v < -1) v = AskReal(prompter, "Select Features with Variance v or higher\nEnter v:", v);
        return v >= -1;
    case VarianceOption::PercentOfSum:
        if (v < -1)
            v = AskReal(prompter, "Select Features with highest Variance\nwith Sum of Variance s or higher\nEnter s in %:", v);
        return v >= -1;
    case VarianceOption::KeepAll: break;
    }
    return true;
}

double AskCorrelationThreshold(CPrompter& prompter, double v)
{
    if (v < -1) v = AskReal(prompter, "Remove one Feature of a pair with correlation higher than:\n", v);
    return v;
}

int SelectFeatures(CDataSet& set, int matrixCode, int kindCode, int option, int n, double v, CPrompter& prompter,
                   CSession& session)
{
    DataMatrix matrix;
    SelectionKind kind;
    if (!DataMatrixFromCode(matrixCode, matrix) || !SelectionKindFromCode(kindCode, kind)) return 0;
    const DataMatrixParts parts = PartsOf(set, matrix);
    switch (kind) {
    case SelectionKind::Constant: {
        const int allowed = AskConstantOption(prompter, matrix, parts.data, option);
        if (allowed < 0) return 1;
        ApplyAndLog(parts, matrix, kind, ConstantRule(parts.data, allowed), "", session);
        break;
    }
    case SelectionKind::Variance: SelectVariance(parts, matrix, option, n, v, prompter, session); break;
    case SelectionKind::Correlation: {
        // A threshold below -1 would pair every column with every other one: a cancelled
        // prompt removes nothing.
        const double r = AskCorrelationThreshold(prompter, v);
        const ColumnMask keep = r < -1 ? ColumnMask(static_cast<size_t>(parts.data.Cols()), 1) : CorrelationRule(parts.data, r);
        ApplyAndLog(parts, matrix, kind, keep, "", session);
        break;
    }
    }
    return 1;
}

}  // namespace kiv
