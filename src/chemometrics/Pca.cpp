#include "chemometrics/Pca.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "chemometrics/Centring.h"

namespace kiv {

namespace {

constexpr int kMaxTableLines = 100000;
constexpr double kLeastPercent = 1e-12;

struct PcaParts {
    CMatrixNumerics& data;
    CMatrixNumerics& unknowns;
    CMatrixNumerics& scores;
    CMatrixNumerics& unknownScores;
    CMatrixNumerics& singular;
    CMatrixNumerics& loadings;
};

PcaParts PcaPartsOf(CDataSet& set, DataMatrix matrix)
{
    if (matrix == DataMatrix::X) return {set.X, set.XU, set.XScores, set.XUScores, set.XSingular, set.XLoadings};
    return {set.Y, set.YU, set.YScores, set.YUScores, set.YSingular, set.YLoadings};
}

}  // namespace

PcaModel FitPca(const CMatrixNumerics& centred)
{
    PcaModel model;
    if (centred.Rows() >= centred.Cols()) {
        centred.SvdValuesRight(model.singular, model.loadings);
    } else {
        // Fewer objects than features: only m components carry variance. The decomposition of
        // the transpose gives them directly (its left vectors are the loadings) instead of an
        // n x n right-hand matrix of which all but m columns would be cut.
        CMatrixNumerics right;
        centred.Transposed().Svd(model.loadings, model.singular, right);
    }
    // T = X V, which is U diag(w).
    model.scores = centred.Times(model.loadings);
    return model;
}

void LogVarianceTable(const CMatrixNumerics& scores, const CMatrixNumerics& singular, CSession& session)
{
    CMatrixNumerics means, variances;
    scores.ColMeanVar(means, variances);
    const double total = variances.Sum();
    const int lines = std::min(variances.Cols(), kMaxTableLines);
    for (int i = 1; i <= lines; ++i) {
        const double percent = 100.0 * variances.GetFlat(i) / total;
        // Also ends a table without variance, whose percentages are not numbers.
        if (!(percent >= kLeastPercent)) break;
        session.Log(Format("%3d: %13.6f %13.6f", i, percent, singular.GetFlat(i)));
    }
}

void PcaCommand(CDataSet& set, DataMatrix matrix, CSession& session, CScorePlots* plots)
{
    const bool isX = matrix == DataMatrix::X;
    session.SetStatus(isX ? "Calculating PCA ..." : "Calculating Y PCA ...");
    Centre(set, matrix);
    PcaParts p = PcaPartsOf(set, matrix);
    PcaModel model = FitPca(p.data);
    p.loadings = std::move(model.loadings);
    p.singular = std::move(model.singular);
    p.scores = std::move(model.scores);
    if (p.unknowns.Rows() > 0)
        p.unknownScores = p.unknowns * p.loadings;
    else
        p.unknownScores.Free();
    if (isX) {
        set.XScoresModel = CDataSet::XModel::Pca;
        session.Log(Format("X Loadings %d x %d", p.loadings.Rows(), p.loadings.Cols()));
    }
    session.Log(isX ? "X PCA - Variance - Singular Values" : "Y PCA - Variance - Singular Values");
    LogVarianceTable(p.scores, p.singular, session);
    if (plots) plots->ShowScatter(isX ? 1 : 2, isX ? "X Scores" : "Y Scores", 1, 2);
    session.SetStatus("PCA done");
    session.Redraw();
}

}  // namespace kiv
