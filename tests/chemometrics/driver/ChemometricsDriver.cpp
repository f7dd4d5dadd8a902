// Drives the chemometric analyses from matrices in plain text files, for the comparison with an
// independent implementation (sklearn_check.py). Results are written as text, one row per line,
// with every digit of the doubles.
//
//   chemometrics_driver pca X.txt OUT          OUT.scores, OUT.singular, OUT.percent
//   chemometrics_driver pls X.txt Y.txt XU.txt COMPONENTS OUT
//                                              OUT.pred (Y of X) and OUT.upred (Y of XU)
//   chemometrics_driver cv X.txt Y.txt FOLDS OUT   OUT.table (a, RMSECV, Q2)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Format.h"
#include "base/Session.h"
#include "chemometrics/Centring.h"
#include "chemometrics/CrossValidation.h"
#include "chemometrics/Pca.h"
#include "chemometrics/Pls.h"

using namespace kiv;

namespace {

CMatrixNumerics Read(const std::string& path)
{
    CMatrixNumerics m;
    m.LoadText(path);
    return m;
}

bool Write(const std::string& path, const CMatrix& m)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    for (int i = 1; i <= m.Rows(); ++i) {
        for (int j = 1; j <= m.Cols(); ++j) std::fprintf(file, j > 1 ? " %.17g" : "%.17g", m.Get(i, j));
        std::fputc('\n', file);
    }
    return std::fclose(file) == 0;
}

// The explained variance in percent of each component, as the variance table lists it.
CMatrixNumerics Percentages(const CMatrixNumerics& scores)
{
    CMatrixNumerics means, variances;
    scores.ColMeanVar(means, variances);
    const double total = variances.Sum();
    for (double& v : variances.Flat()) v = 100.0 * v / total;
    return variances;
}

int RunPca(const std::string& xPath, const std::string& out)
{
    CDataSet set;
    set.X = Read(xPath);
    CRecordingSession session;
    PcaCommand(set, DataMatrix::X, session, nullptr);
    return Write(out + ".scores", set.XScores) && Write(out + ".singular", set.XSingular) &&
                   Write(out + ".percent", Percentages(set.XScores))
               ? 0
               : 1;
}

// Predicted Y in its own units: the centred prediction plus the means of Y.
CMatrixNumerics Uncentred(const CMatrixNumerics& centred, const CMatrixNumerics& means)
{
    CMatrixNumerics y(centred);
    for (int i = 1; i <= y.Rows(); ++i)
        for (int j = 1; j <= y.Cols(); ++j) y.Set(i, j, y.Get(i, j) + means.GetFlat(j));
    return y;
}

int RunPls(const std::string& xPath, const std::string& yPath, const std::string& xuPath, int components,
           const std::string& out)
{
    CDataSet set;
    set.X = Read(xPath);
    set.Y = Read(yPath);
    set.XU = Read(xuPath);
    CentreX(set);
    CentreY(set);
    const PlsModel model = FitPls(set.X, set.Y);
    return Write(out + ".pred", Uncentred(PredictPls(model, set.X, components), set.YMean)) &&
                   Write(out + ".upred", Uncentred(PredictPls(model, set.XU, components), set.YMean))
               ? 0
               : 1;
}

int RunCrossValidation(const std::string& xPath, const std::string& yPath, int folds, const std::string& out)
{
    return Write(out + ".table", PlsCrossValidation(Read(xPath), Read(yPath), folds)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string task = argc > 1 ? argv[1] : "";
    if (task == "pca" && argc == 4) return RunPca(argv[2], argv[3]);
    if (task == "pls" && argc == 7) return RunPls(argv[2], argv[3], argv[4], std::atoi(argv[5]), argv[6]);
    if (task == "cv" && argc == 6) return RunCrossValidation(argv[2], argv[3], std::atoi(argv[4]), argv[5]);
    std::fprintf(stderr, "usage: chemometrics_driver pca X OUT | pls X Y XU COMPONENTS OUT | cv X Y FOLDS OUT\n");
    return 2;
}
