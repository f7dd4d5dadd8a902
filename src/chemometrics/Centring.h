#pragma once
// Centring and scaling of the data matrices. The means (and standard deviations) are those of
// X (Y) alone; the unknowns are shifted (and divided) by the same vectors, so that they sit in
// the space of the model built from X (Y).
#include "base/Session.h"
#include "chemometrics/DataSet.h"

namespace kiv {

// Centres X and XU with the column means of X, kept in XMean; nothing when XMean is set.
void CentreX(CDataSet& set);
// The same for Y, YU and YMean.
void CentreY(CDataSet& set);
void Centre(CDataSet& set, DataMatrix matrix);

// Takes back scaling and centring of a matrix and its unknowns (raw values again) and empties
// its mean and scale, so that the next analysis centres data and unknowns together.
void Uncentre(CDataSet& set, DataMatrix matrix);

// "Autoscale X" / "Autoscale Y": centres (when not yet centred) and divides every column of the
// matrix and its unknowns by the matrix's column standard deviation; a column without spread is
// left as it is. Logs "%s autoscaled: %d Features" once, "%s already autoscaled" after that.
void Autoscale(CDataSet& set, DataMatrix matrix, CSession& session);

}  // namespace kiv
