#include "chemometrics/Centring.h"

#include <cmath>

#include "base/Format.h"

namespace kiv {

namespace {

// A standard deviation at or below this is a constant column; it is not scaled.
constexpr double kNoSpread = 1e-12;

struct CentredParts {
    CMatrixNumerics& data;
    CMatrixNumerics& unknowns;
    CMatrixNumerics& mean;
    CMatrixNumerics& scale;
};

CentredParts CentredPartsOf(CDataSet& set, DataMatrix matrix)
{
    if (matrix == DataMatrix::X) return {set.X, set.XU, set.XMean, set.XScale};
    return {set.Y, set.YU, set.YMean, set.YScale};
}

// x(i, j) = x(i, j) * factor(j) + offset(j) for every row; rows of another width are left alone.
void ScaleShift(CMatrixNumerics& x, const CMatrixNumerics* factor, const CMatrixNumerics* offset)
{
    for (int i = 1; i <= x.Rows(); ++i) {
        auto row = x.Row(i);
        for (int j = 1; j <= x.Cols(); ++j) {
            if (factor && factor->Cols() == x.Cols()) row[j] *= factor->GetFlat(j);
            if (offset && offset->Cols() == x.Cols()) row[j] += offset->GetFlat(j);
        }
    }
}

}  // namespace

void Centre(CDataSet& set, DataMatrix matrix)
{
    CentredParts p = CentredPartsOf(set, matrix);
    if (p.mean.Cols() > 0) return;
    CMatrixNumerics variances;
    p.data.ColMeanVar(p.mean, variances);
    // In place: the data can be a whole library's features.
    for (int i = 1; i <= p.data.Rows(); ++i) {
        auto row = p.data.Row(i);
        for (int j = 1; j <= p.data.Cols(); ++j) row[j] -= p.mean.GetFlat(j);
    }
    if (p.unknowns.Rows() > 0) p.unknowns = p.unknowns.SubCols(p.mean);
}

void CentreX(CDataSet& set)
{
    Centre(set, DataMatrix::X);
}

void CentreY(CDataSet& set)
{
    Centre(set, DataMatrix::Y);
}

void Uncentre(CDataSet& set, DataMatrix matrix)
{
    CentredParts p = CentredPartsOf(set, matrix);
    if (p.mean.Cols() > 0) {
        for (CMatrixNumerics* x : {&p.data, &p.unknowns}) ScaleShift(*x, p.scale.Cols() > 0 ? &p.scale : nullptr, &p.mean);
    }
    p.mean.Free();
    p.scale.Free();
}

void Autoscale(CDataSet& set, DataMatrix matrix, CSession& session)
{
    CentredParts p = CentredPartsOf(set, matrix);
    const char* name = DataMatrixName(matrix);
    if (p.scale.Cols() > 0) {
        session.Log(Format("%s already autoscaled", name));
        return;
    }
    Centre(set, matrix);
    CMatrixNumerics means, variances;
    p.data.ColMeanVar(means, variances);
    p.scale.Alloc(1, p.data.Cols());
    CMatrixNumerics inverse(1, p.data.Cols());
    for (int j = 1; j <= p.data.Cols(); ++j) {
        const double deviation = std::sqrt(variances.GetFlat(j));
        const double s = deviation > kNoSpread ? deviation : 1.0;
        p.scale.SetFlat(j, s);
        inverse.SetFlat(j, 1.0 / s);
    }
    p.data = p.data.xCols(inverse);
    if (p.unknowns.Rows() > 0) p.unknowns = p.unknowns.xCols(inverse);
    session.Log(Format("%s autoscaled: %d Features", name, p.data.Cols()));
    session.Redraw();
}

}  // namespace kiv
