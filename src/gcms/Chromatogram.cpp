#include "gcms/Chromatogram.h"

#include <algorithm>

namespace kiv {

void CChromatogram::AddTrace(const CMatrix& trace, const std::string& legend)
{
    const int n = xAxis.Cols();
    CMatrix row(1, n);
    const int shared = std::min(n, trace.Count());
    for (int i = 1; i <= shared; ++i) row.Set(1, i, trace.GetFlat(i));
    traces.AppendRows(row);
    legends.push_back(legend);
}

void CChromatogram::ClearPlot()
{
    xAxis.Free();
    traces.Free();
    legends.clear();
    text.clear();
}

void ShowRun(const CBib& bib, CChromatogram& chromatogram)
{
    chromatogram.ClearPlot();
    chromatogram.xAxis = bib.run.retentionTime;
    CMatrix tic = bib.run.tic;
    tic *= bib.run.largestTic > 0 ? 100.0 / bib.run.largestTic : 0.0;
    chromatogram.AddTrace(tic, "TIC");
}

}  // namespace kiv
