#include "statistics/MolecularWeightStatistics.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/Format.h"
#include "base/Reporter.h"
#include "statistics/StatisticsWalk.h"

namespace kiv {

std::string MolecularWeightReport(const CMatrix& histogram)
{
    std::string text = "   NMW      #\n";
    for (int bin = 1; bin <= histogram.Cols(); ++bin) {
        text += Format("%6d %6d\n", bin - 1, static_cast<int>(histogram.Get(1, bin)));
    }
    return text;
}

void MolecularWeightStatisticsCommand(CBib& bib, CMatrix& histogram, CPrompter& prompter, CSession& session)
{
    if (bib.header.blockCount < 1) {
        ReportRunTimeError("Not enough spectra in BIB!");
        return;
    }
    histogram.Alloc(1, kWeightBins);
    SampleSums sums;
    int lowest = INT_MAX, highest = INT_MIN;
    WalkBlocks(bib, session, [&](int) {
        const int v = bib.record.name.nominalMW;
        if (v >= 0) {
            const int bin = std::min(v, kWeightBins - 1) + 1;
            histogram.Set(1, bin, histogram.Get(1, bin) + 1);
        }
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
        sums.Add(v);
    });
    if (sums.n == 0) lowest = highest = 0;
    session.Log("Nominal Molecular Weight");
    session.Log(Format("min %d", lowest));
    session.Log(Format("max %d", highest));
    session.Log(Format("mean %0.3f", sums.Mean()));
    session.Log(Format("variance %0.3f", sums.Variance()));
    session.Log(Format("standard deviation %0.3f", std::sqrt(std::max(sums.Variance(), 0.0))));
    session.Redraw();
    SaveStatisticsReport(prompter, MolecularWeightReport(histogram));
}

}  // namespace kiv
