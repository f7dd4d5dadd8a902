#include "chemometrics/CrossValidation.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Progress.h"
#include "chemometrics/Pls.h"

namespace kiv {

namespace {

constexpr int kDefaultFolds = 5;

// The rows [begin, end) of x and the others, both centred with the means of the others.
struct Split {
    CMatrixNumerics trainX, trainY, testX, testY;
};

void SplitRows(const CMatrixNumerics& source, int begin, int end, CMatrixNumerics& train, CMatrixNumerics& test)
{
    const int m = source.Rows(), n = source.Cols();
    train.Alloc(m - (end - begin), n);
    test.Alloc(end - begin, n);
    int t = 0, s = 0;
    for (int i = 0; i < m; ++i) {
        CMatrixNumerics& target = (i >= begin && i < end) ? test : train;
        int& row = (i >= begin && i < end) ? s : t;
        ++row;
        std::copy_n(source.Row(i + 1).data(), n, target.Row(row).data());
    }
    CMatrixNumerics means, variances;
    train.ColMeanVar(means, variances);
    train = train.SubCols(means);
    test = test.SubCols(means);
}

double SquaredDeviations(const CMatrixNumerics& y)
{
    CMatrixNumerics means, variances;
    y.ColMeanVar(means, variances);
    return variances.Sum() * (y.Rows() - 1);
}

}  // namespace

std::vector<int> FoldBounds(int m, int k)
{
    std::vector<int> bounds{0};
    for (int f = 0; f < k; ++f) bounds.push_back(bounds.back() + m / k + (f < m % k ? 1 : 0));
    return bounds;
}

CMatrixNumerics PlsCrossValidation(const CMatrixNumerics& x, const CMatrixNumerics& y, int folds)
{
    const int m = x.Rows();
    if (m < 3 || y.Rows() != m || x.Cols() < 1 || y.Cols() < 1) return {};
    const int k = std::clamp(folds, 2, m);
    const std::vector<int> bounds = FoldBounds(m, k);
    const int largestFold = m / k + (m % k ? 1 : 0);
    const int components = std::min({m - largestFold, x.Cols(), y.Cols()});
    if (components < 1) return {};
    std::vector<double> press(static_cast<size_t>(components + 1), 0.0);
    for (int f = 0; f < k; ++f) {
        if (ReportProgress(100 * f / k, Format("PLS Cross-Validation group %d of %d", f + 1, k)) > 1) return {};
        Split s;
        SplitRows(x, bounds[static_cast<size_t>(f)], bounds[static_cast<size_t>(f + 1)], s.trainX, s.testX);
        SplitRows(y, bounds[static_cast<size_t>(f)], bounds[static_cast<size_t>(f + 1)], s.trainY, s.testY);
        const PlsModel model = FitPls(s.trainX, s.trainY);
        for (int a = 1; a <= components; ++a) {
            const CMatrixNumerics predicted = PredictPls(model, s.testX, a);
            for (int i = 1; i <= s.testY.Rows(); ++i)
                for (int j = 1; j <= s.testY.Cols(); ++j) {
                    const double e = s.testY.Get(i, j) - predicted.Get(i, j);
                    press[static_cast<size_t>(a)] += e * e;
                }
        }
    }
    const double total = SquaredDeviations(y);
    CMatrixNumerics table(components, 3);
    for (int a = 1; a <= components; ++a) {
        const double p = press[static_cast<size_t>(a)];
        table.Set(a, 1, a);
        table.Set(a, 2, std::sqrt(p / (static_cast<double>(m) * y.Cols())));
        table.Set(a, 3, total > 0.0 ? 1.0 - p / total : 0.0);
    }
    return table;
}

int SuggestedComponents(const CMatrixNumerics& table)
{
    int best = 0;
    for (int a = 1; a <= table.Rows(); ++a)
        if (best == 0 || table.Get(a, 2) < table.Get(best, 2)) best = a;
    return best;
}

void PlsCrossValidationCommand(CDataSet& set, int folds, CPrompter& prompter, CSession& session)
{
    if (folds < 0)
        folds = AskInteger(prompter, "PLS Cross-Validation\nNumber of groups (0: leave-one-out):", kDefaultFolds,
                           {{"5 groups", "5"}, {"10 groups", "10"}, {"leave-one-out", "0"}});
    const int m = set.X.Rows();
    const bool leaveOneOut = folds == 0 || folds >= m;
    session.SetStatus("Calculating PLS Cross-Validation ...");
    set.CrossValidation = PlsCrossValidation(set.X, set.Y, leaveOneOut ? m : folds);
    if (set.CrossValidation.Rows() == 0) {
        session.Log("PLS Cross-Validation needs X and Y with the same objects, at least 3");
        session.SetStatus("PLS Cross-Validation not done");
        return;
    }
    session.Log(leaveOneOut ? std::string("PLS Cross-Validation leave-one-out")
                            : Format("PLS Cross-Validation %d groups", std::max(folds, 2)));
    session.Log("  a        RMSECV            Q2");
    for (int a = 1; a <= set.CrossValidation.Rows(); ++a)
        session.Log(Format("%3d: %13.6f %13.6f", a, set.CrossValidation.Get(a, 2), set.CrossValidation.Get(a, 3)));
    session.Log(Format("Suggested number of components: %d", SuggestedComponents(set.CrossValidation)));
    session.SetStatus("PLS Cross-Validation done");
    session.Redraw();
}

}  // namespace kiv
