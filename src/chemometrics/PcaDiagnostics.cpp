#include "chemometrics/PcaDiagnostics.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "chemometrics/Distributions.h"

namespace kiv {

namespace {

constexpr double kConfidence = 0.95;

// T^2 and Q of each row of x into rows first.. of out.
void Statistics(const CMatrixNumerics& x, const CMatrixNumerics& scores, const CMatrixNumerics& loadings,
                const std::vector<double>& scoreVariance, int components, int first, CMatrixNumerics& out)
{
    for (int i = 1; i <= x.Rows(); ++i) {
        double t2 = 0.0;
        for (int a = 1; a <= components; ++a) {
            const double v = scoreVariance[static_cast<size_t>(a)];
            if (v > 0.0) t2 += scores.Get(i, a) * scores.Get(i, a) / v;
        }
        double q = 0.0;
        for (int j = 1; j <= x.Cols(); ++j) {
            double e = x.Get(i, j);
            for (int a = 1; a <= components; ++a) e -= scores.Get(i, a) * loadings.Get(j, a);
            q += e * e;
        }
        out.Set(first + i - 1, 1, t2);
        out.Set(first + i - 1, 2, q);
    }
}

double QLimit(const CMatrixNumerics& singular, int components, int m)
{
    double theta[4] = {0, 0, 0, 0};
    for (int j = components + 1; j <= singular.Cols(); ++j) {
        const double lambda = singular.GetFlat(j) * singular.GetFlat(j) / (m - 1);
        for (int k = 1; k <= 3; ++k) theta[k] += std::pow(lambda, k);
    }
    if (!(theta[1] > 0.0) || !(theta[2] > 0.0)) return 0.0;
    const double h0 = 1.0 - 2.0 * theta[1] * theta[3] / (3.0 * theta[2] * theta[2]);
    const double base = kNormalQuantile95 * std::sqrt(2.0 * theta[2] * h0 * h0) / theta[1] + 1.0 +
                        theta[2] * h0 * (h0 - 1.0) / (theta[1] * theta[1]);
    return theta[1] * std::pow(base, 1.0 / h0);
}

}  // namespace

PcaDiagnosticsResult ComputePcaDiagnostics(const CMatrixNumerics& x, const CMatrixNumerics& scores,
                                           const CMatrixNumerics& loadings, const CMatrixNumerics& singular,
                                           const CMatrixNumerics& unknowns, const CMatrixNumerics& unknownScores,
                                           int components)
{
    PcaDiagnosticsResult result;
    const int m = x.Rows();
    const int a = std::clamp(components, 1, std::max(1, scores.Cols()));
    const bool withUnknowns = unknowns.Rows() > 0 && unknownScores.Rows() == unknowns.Rows();
    result.values.Alloc(m + (withUnknowns ? unknowns.Rows() : 0), 2);
    if (m < 2) return result;
    std::vector<double> scoreVariance(static_cast<size_t>(a + 1), 0.0);
    for (int c = 1; c <= a; ++c) scoreVariance[static_cast<size_t>(c)] = singular.GetFlat(c) * singular.GetFlat(c) / (m - 1);
    Statistics(x, scores, loadings, scoreVariance, a, 1, result.values);
    if (withUnknowns) Statistics(unknowns, unknownScores, loadings, scoreVariance, a, m + 1, result.values);
    if (m > a) result.t2Limit = a * (m - 1.0) / (m - a) * FQuantile(kConfidence, a, m - a);
    result.qLimit = QLimit(singular, a, m);
    return result;
}

void PcaDiagnosticsCommand(CDataSet& set, int components, CPrompter& prompter, CSession& session)
{
    const int m = set.X.Rows();
    if (set.XScoresModel != CDataSet::XModel::Pca || set.XMean.Cols() == 0 || set.XScores.Rows() != m || m < 2 ||
        set.XLoadings.Rows() != set.X.Cols()) {
        session.Log("PCA T2 and Q: run PCA X first");
        return;
    }
    const int available = set.XScores.Cols();
    if (components < 1)
        components = AskInteger(prompter, "Hotelling T2 and Q residuals\nNumber of PCA components:", std::min(2, available));
    components = std::clamp(components, 1, std::max(1, available));
    const PcaDiagnosticsResult r = ComputePcaDiagnostics(set.X, set.XScores, set.XLoadings, set.XSingular, set.XU,
                                                         set.XUScores, components);
    set.PcaDiagnostics = r.values;
    session.Log(Format("PCA X T2 and Q, %d components", components));
    session.Log(Format("T2 limit 95%%: %13.6f   Q limit 95%%: %13.6f", r.t2Limit, r.qLimit));
    session.Log("  Obj            T2             Q");
    for (int i = 1; i <= r.values.Rows(); ++i) {
        const double t2 = r.values.Get(i, 1), q = r.values.Get(i, 2);
        const bool outside = (r.t2Limit > 0.0 && t2 > r.t2Limit) || (r.qLimit > 0.0 && q > r.qLimit);
        const std::string label = i <= m ? Format("%5d", i) : Format("U%4d", i - m);
        session.Log(Format("%s: %13.6f %13.6f%s", label.c_str(), t2, q, outside ? " *" : ""));
    }
    session.Redraw();
}

}  // namespace kiv
