#pragma once
// What every library statistic shares: the walk over all blocks with progress and cancel, the
// sample mean and variance, and the text report saved through a save dialog.
#include <functional>
#include <string>

#include "base/Prompt.h"
#include "base/Session.h"
#include "library/Bib.h"

namespace kiv {

// Selects blocks 1..count in turn and calls visit(block) for each, with the status
// "calculate Statistics ..." and progress per block; a cancel ends the walk. Afterwards the
// block that was current before is selected again. Returns the number of blocks visited.
int WalkBlocks(CBib& bib, CSession& session, const std::function<void(int block)>& visit,
               SpectrumReading reading = SpectrumReading::ForAnalysis);

// Sums of n values.
struct SampleSums {
    int n = 0;
    double sum = 0;
    double squares = 0;

    void Add(double v)
    {
        ++n;
        sum += v;
        squares += v * v;
    }
    double Mean() const { return n > 0 ? sum / n : 0.0; }
    // (sum of squares - sum^2 / n) / (n - 1), 0 for fewer than two values.
    double Variance() const { return n > 1 ? (squares - sum * sum / n) / (n - 1) : 0.0; }
};

// Asks for the report file ("Save Statistics as Text file:"; a name without "." gets ".txt", an
// extension is replaced by ".txt") and writes the text into it as a text file. False when no
// file was chosen or it could not be created (reported).
bool SaveStatisticsReport(CPrompter& prompter, const std::string& text);

// The report file for a chosen name.
std::string StatisticsReportPath(const std::string& chosen);

}  // namespace kiv
