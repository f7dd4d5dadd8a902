#include "chemometrics/Pls.h"

#include <algorithm>

#include "base/Format.h"
#include "chemometrics/Centring.h"

namespace kiv {

namespace {

// The first a columns of x.
CMatrixNumerics FirstColumns(const CMatrixNumerics& x, int a)
{
    if (x.Cols() <= a) return x;
    CMatrix out;
    x.SubMatrix(1, 1, x.Rows(), a, out);
    return out;
}

CMatrixNumerics Squares(const CMatrixNumerics& w)
{
    CMatrixNumerics s(w);
    for (double& v : s.Flat()) v *= v;
    return s;
}

// b_i = (t t^T)^-1 t u^T for column i of the X and Y scores.
CMatrixNumerics InnerRelation(const CMatrixNumerics& xScores, const CMatrixNumerics& yScores)
{
    const int a = xScores.Cols();
    CMatrixNumerics b(1, a);
    for (int i = 1; i <= a; ++i) {
        CMatrixNumerics t, u;
        xScores.GetCol(i, t);
        yScores.GetCol(i, u);
        const CMatrixNumerics tt = t.xT(t);
        b.SetFlat(i, (tt.Inv() * t.xT(u)).GetFlat(1));
    }
    return b;
}

}  // namespace

PlsModel FitPls(const CMatrixNumerics& x, const CMatrixNumerics& y)
{
    PlsModel model;
    const CMatrixNumerics c = x.TransposeTimes(y);
    if (c.Rows() == 0 && x.Cols() > 0) return model;  // the row counts differ (reported)
    CMatrixNumerics w;
    if (c.Rows() >= c.Cols()) {
        c.Svd(model.xWeights, w, model.yWeights);
    } else {
        c.Transposed().Svd(model.yWeights, w, model.xWeights);
    }
    const int a = std::min({x.Rows(), model.xWeights.Cols(), model.yWeights.Cols()});
    model.xWeights = FirstColumns(model.xWeights, a);
    model.yWeights = FirstColumns(model.yWeights, a);
    model.xSingular = Squares(FirstColumns(w, a));
    model.ySingular = model.xSingular;
    model.xScores = x.Times(model.xWeights);
    model.yScores = y.Times(model.yWeights);
    model.inner = InnerRelation(model.xScores, model.yScores);
    return model;
}

CMatrixNumerics PredictPls(const PlsModel& model, const CMatrixNumerics& x, int components)
{
    const int a = std::min(components, model.inner.Cols());
    const CMatrixNumerics w = FirstColumns(model.xWeights, a);
    const CMatrixNumerics q = FirstColumns(model.yWeights, a);
    const CMatrixNumerics b = FirstColumns(model.inner, a);
    return (x * w).xCols(b).xT(q);
}

void PlsCommand(CDataSet& set, CSession& session, CScorePlots* plots)
{
    session.SetStatus("Calculating PLS ...");
    if (set.X.Rows() == 0 || set.Y.Rows() == 0) return;
    CentreX(set);
    CentreY(set);
    session.Log(Format("X %d x %d", set.X.Rows(), set.X.Cols()));
    session.Log(Format("Y %d x %d", set.Y.Rows(), set.Y.Cols()));
    PlsModel model = FitPls(set.X, set.Y);
    const int a = model.inner.Cols();
    session.Log(Format("a = %d", a));
    set.XScoresModel = CDataSet::XModel::Pls;
    set.XLoadings = std::move(model.xWeights);
    set.XSingular = std::move(model.xSingular);
    set.YLoadings = std::move(model.yWeights);
    set.YSingular = std::move(model.ySingular);
    set.XScores = std::move(model.xScores);
    set.YScores = std::move(model.yScores);
    set.XUScores = set.XU.Rows() > 0 ? CMatrixNumerics(set.XU * set.XLoadings) : CMatrixNumerics();
    set.YUScores = set.YU.Rows() > 0 ? CMatrixNumerics(set.YU * set.YLoadings) : CMatrixNumerics();
    set.YPred = set.XScores.xCols(model.inner);
    set.YUPred = set.XUScores.Rows() > 0 ? CMatrixNumerics(set.XUScores.xCols(model.inner)) : CMatrixNumerics();
    if (plots) {
        plots->ShowScatter(1, "X Scores", 1, 2);
        plots->ShowScatter(2, "Y Scores", 1, 2);
    }
    session.SetStatus("PLS done");
    session.Redraw();
}

}  // namespace kiv
