#include "statistics/MoleculeStatistics.h"

#include <algorithm>

#include "base/Format.h"
#include "statistics/StatisticsWalk.h"

namespace kiv {

namespace {

constexpr int kUnknownCodeBin = 129;
constexpr double kMinimumStart = 999;
constexpr double kMaximumStart = -999;

}  // namespace

std::vector<int> ElementCounts(const CMolecule& molecule)
{
    std::vector<int> counts(kElementBins, 0);
    for (size_t a = 0; a < molecule.element.size(); ++a) {
        const int code = molecule.element[a];
        if (code <= kElementBins) ++counts[static_cast<size_t>((code == 0 ? kUnknownCodeBin : code) - 1)];
        const int hydrogen = a < molecule.hydrogenCode.size() ? molecule.hydrogenCode[a] : 0;
        if (hydrogen > 1) counts[0] += hydrogen - 1;
    }
    return counts;
}

std::string MoleculeReport(const CMatrix& table)
{
    std::string text = "Molecule Statistic\natomno     no   min    max       mean   variance\n";
    for (int bin = 1; bin <= table.Rows(); ++bin) {
        text += Format("%6d %6d %6d %6d %10.3f %10.3f\n", bin, static_cast<int>(table.Get(bin, 1)),
                       static_cast<int>(table.Get(bin, 2)), static_cast<int>(table.Get(bin, 3)), table.Get(bin, 4),
                       table.Get(bin, 5));
    }
    return text;
}

void MoleculeStatisticsCommand(CBib& bib, CMatrix& table, CPrompter& prompter, CSession& session)
{
    if (bib.header.blockCount < 1) return;
    std::vector<SampleSums> sums(kElementBins);
    std::vector<double> lowest(kElementBins, kMinimumStart), highest(kElementBins, kMaximumStart);
    WalkBlocks(bib, session, [&](int) {
        const std::vector<int> counts = ElementCounts(bib.record.molecule);
        for (size_t bin = 0; bin < counts.size(); ++bin) {
            const int c = counts[bin];
            lowest[bin] = std::min<double>(lowest[bin], c);
            highest[bin] = std::max<double>(highest[bin], c);
            if (c > 0) sums[bin].Add(c);
        }
    });
    table.Alloc(kElementBins, 5);
    for (int bin = 1; bin <= kElementBins; ++bin) {
        const SampleSums& s = sums[static_cast<size_t>(bin - 1)];
        table.Set(bin, 1, s.n);
        table.Set(bin, 2, lowest[static_cast<size_t>(bin - 1)]);
        table.Set(bin, 3, highest[static_cast<size_t>(bin - 1)]);
        table.Set(bin, 4, s.Mean());
        table.Set(bin, 5, s.Variance());
    }
    session.Log("BIB Molecule Statistics Matrix calculated.");
    session.Redraw();
    SaveStatisticsReport(prompter, MoleculeReport(table));
}

}  // namespace kiv
