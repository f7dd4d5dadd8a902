#include "search/SpectralSearch.h"

#include <algorithm>

#include "base/Parallel.h"
#include "base/Progress.h"
#include "search/Similarity.h"

namespace kiv {

namespace {

constexpr int kProgressReferences = 4000;

// Drops rank 1 of every unknown (the unknown itself when it is a member of the reference
// library) and keeps "No Hits" ranks.
void DropFirstHit(Hitlist& hitlist, int hits)
{
    for (int u = 1; u <= hitlist.similarities.Rows(); ++u) {
        for (int h = 1; h < hitlist.similarities.Cols(); ++h) {
            hitlist.similarities.Set(u, h, hitlist.similarities.Get(u, h + 1));
            hitlist.referenceNumbers.Set(u, h, hitlist.referenceNumbers.Get(u, h + 1));
        }
    }
    hitlist.similarities.Resize(hitlist.similarities.Rows(), hits);
    hitlist.referenceNumbers.Resize(hitlist.referenceNumbers.Rows(), hits);
}

// The indices of the unknowns and their hits, for the hitlist text; none without the window.
void KeepRetentionIndices(Hitlist& hitlist, const CRetentionIndices* indices)
{
    if (!indices) {
        hitlist.unknownIndices.Free();
        hitlist.hitIndices.Free();
        return;
    }
    const int rows = hitlist.referenceNumbers.Rows();
    const int cols = hitlist.referenceNumbers.Cols();
    hitlist.unknownIndices.Alloc(rows, 1);
    hitlist.hitIndices.Alloc(rows, cols);
    for (int u = 1; u <= rows; ++u) {
        hitlist.unknownIndices.Set(u, 1, indices->Unknown(u));
        for (int h = 1; h <= cols; ++h) hitlist.hitIndices.Set(u, h, indices->Reference(hitlist.referenceNumbers.Get(u, h)));
    }
}

}  // namespace

int SearchSimilar(Hitlist& hitlist, CMatrix& unknowns, CReferenceLibrary& reference, const CParameters& settings,
                  const CRetentionIndices* indices)
{
    const CRetentionIndices* window = settings.riWindow > 0 ? indices : nullptr;
    const int hits = std::max(settings.noHits, 0);
    const bool dropIdentical = settings.delIdentHit1 > 0;
    const int width = hits + (dropIdentical ? 1 : 0);
    const int count = unknowns.Rows();
    hitlist.similarities.Alloc(count, width);
    hitlist.similarities.Fill(kNoHitSimilarity);
    hitlist.referenceNumbers.Alloc(count, width);
    TransformIntensities(unknowns, settings.simTransExpI, settings.simTransExpM);
    const SimilarityCriterion criterion = CriterionFromCode(settings.simCriterion);

    CCdmFile& cdm = reference.cdm;
    const int references = cdm.Rows();
    std::vector<int32_t> columns;
    int blockRows = 0;
    if (cdm.SeekData() != 0) {
        // 64 bits: the row after the last block of a file of 2^31 - 1 rows is still counted.
        for (int64_t i = 1; i <= references; i += blockRows) {
            if ((i - 1) % kProgressReferences == 0 &&
                ReportProgress(static_cast<int>(i * 100 / references), "") > 1) {
                break;
            }
            cdm.ReadData(-1);
            TransformIntensities(reference.block, settings.simTransExpI, settings.simTransExpM);
            if (i == 1) columns = SelectColumns(settings.simFeatSel, std::min(unknowns.Cols(), reference.block.Cols()));
            blockRows = static_cast<int>(std::min<int64_t>(reference.block.Rows(), references - i + 1));
            if (blockRows <= 0) break;
            ParallelFor(count, [&](int begin, int end) {
                for (int u = begin + 1; u <= end; ++u) {
                    double* s = hitlist.similarities.Row(u).data();
                    int32_t* k = hitlist.referenceNumbers.Row(u).data();
                    for (int rowInBlock = 0; rowInBlock < blockRows; ++rowInBlock) {
                        if (window && !window->Pass(settings.riWindow, u, static_cast<int>(i + rowInBlock))) continue;
                        InsertHit(s, k, width,
                                  Similarity(criterion, unknowns, u, reference.block, rowInBlock + 1, columns),
                                  static_cast<int32_t>(i + rowInBlock));
                    }
                }
            });
        }
    }
    if (dropIdentical) DropFirstHit(hitlist, hits);
    KeepRetentionIndices(hitlist, window);
    return 1;
}

}  // namespace kiv
