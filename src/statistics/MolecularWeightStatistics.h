#pragma once
// The distribution of nominal molecular weights over a library.
#include "base/Prompt.h"
#include "base/Session.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv {

// Bins of the histogram: weights 0..1000 one each, then one bin for 1001 and above.
constexpr int kWeightBins = 1002;

// Walks the library, logs min, max, mean, variance and standard deviation of the nominal
// molecular weights, leaves the 1 x 1002 histogram in histogram (bin v + 1 for weight v, negative
// weights not binned) and offers the report file "   NMW      #" with one line per bin.
// An empty library reports "Not enough spectra in BIB!".
void MolecularWeightStatisticsCommand(CBib& bib, CMatrix& histogram, CPrompter& prompter, CSession& session);

// The report text of a histogram.
std::string MolecularWeightReport(const CMatrix& histogram);

}  // namespace kiv
