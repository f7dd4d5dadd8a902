#pragma once
// Outlier statistics of a PCA model of X with A components, per object and per unknown:
// Hotelling's T^2 = sum_a t_a^2 / s_a^2 (distance inside the model plane, s_a^2 the variance of
// score a) and the Q residual (SPE) = |x - t P^T|^2 (distance from the plane), with their 95 %
// limits: A (m - 1) / (m - A) F(0.95; A, m - A) for T^2 and the Jackson-Mudholkar
// approximation from the variances of the left-out components for Q.
#include "base/Prompt.h"
#include "base/Session.h"
#include "chemometrics/DataSet.h"

namespace kiv {

struct PcaDiagnosticsResult {
    CMatrixNumerics values;  // (objects + unknowns) x 2: T^2 and Q, the objects first
    double t2Limit = 0;  // 0 when there are not more objects than components
    double qLimit = 0;  // 0 when the model leaves no variance out
};

// scores m x c, loadings n x c and singular 1 x c of the centred data x; unknowns (centred) with
// their scores, either may be empty. components is clamped to 1..c.
PcaDiagnosticsResult ComputePcaDiagnostics(const CMatrixNumerics& x, const CMatrixNumerics& scores,
                                           const CMatrixNumerics& loadings, const CMatrixNumerics& singular,
                                           const CMatrixNumerics& unknowns, const CMatrixNumerics& unknownScores,
                                           int components);

// "PCA T2 and Q" on the PCA model of X (components below 1 asks, 2 by default). Logs the limits
// and one line per object ("%5d", unknowns "U%4d") marked " *" beyond a limit; the values go to
// the data set's PcaDiagnostics matrix.
void PcaDiagnosticsCommand(CDataSet& set, int components, CPrompter& prompter, CSession& session);

}  // namespace kiv
