#pragma once
// What the chromatogram page of the view shows of a GC-MS run, kept as plain data for the display
// layer: the x axis (retention times), the traces (one row each, one column per scan) with their
// legends, the page's text lines, the scans the user selected and the scan shown as spectrum.
#include <string>
#include <vector>

#include "library/Bib.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixI.h"

namespace kiv {

struct CChromatogram {
    CMatrix xAxis;  // 1 x N
    CMatrix traces;  // traces x N
    std::vector<std::string> legends;  // one per trace row
    std::vector<std::string> text;  // lines shown beside the plot
    CMatrixI selected;  // ascending set of selected scans
    int currentScan = 0;  // 0: none

    // Appends a 1 x N trace. A trace of another length than the x axis is cut or padded with 0.
    void AddTrace(const CMatrix& trace, const std::string& legend);
    // Empties the plot (axis, traces, legends, text); the selection stays.
    void ClearPlot();
};

// The page of a freshly loaded or changed run: retention times as x axis and the TIC scaled by
// 100 / largest TIC as the only trace.
void ShowRun(const CBib& bib, CChromatogram& chromatogram);

}  // namespace kiv
