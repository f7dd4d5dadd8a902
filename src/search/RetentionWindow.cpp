#include "search/RetentionWindow.h"

#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

double IndexOfBlock(CBib& bib, int block)
{
    if (bib.SelectBlock(block) != block || bib.readError || bib.record.spectrum.empty) return 0;
    return bib.record.spectrum.retentionIndex;
}

}  // namespace

bool CRetentionIndices::Pass(double window, int unknown, int reference) const
{
    const double u = Unknown(unknown);
    const double r = Reference(reference);
    return u <= 0 || r <= 0 || std::fabs(u - r) <= window;
}

std::vector<double> RetentionIndicesOf(CBib& bib, const CMatrixI& blocks)
{
    std::vector<double> indices(static_cast<size_t>(blocks.Count()));
    for (size_t k = 0; k < indices.size(); ++k) indices[k] = IndexOfBlock(bib, blocks.GetFlat(static_cast<int>(k + 1)));
    return indices;
}

std::vector<double> RetentionIndicesOf(CBib& bib, int count)
{
    std::vector<double> indices(static_cast<size_t>(std::max(count, 0)));
    for (size_t k = 0; k < indices.size(); ++k) indices[k] = IndexOfBlock(bib, static_cast<int>(k + 1));
    return indices;
}

}  // namespace kiv
