#include "search/SearchCommands.h"

#include <chrono>
#include <functional>
#include <optional>

#include "base/Format.h"
#include "features/FeatureCommands.h"
#include "search/SpectralSearch.h"

namespace kiv {

namespace {

// Hitlist bookkeeping of a search over the given unknowns (record numbers).
void PrepareHitlist(Hitlist& hitlist, const CMatrixI& unknownNumbers, const CBib& unknowns,
                    const CReferenceLibrary& reference)
{
    hitlist.unknownNumbers = unknownNumbers;
    hitlist.unknownWeights.Alloc(unknownNumbers.Rows(), 1);
    hitlist.unknownWeights.Fill(1.0);
    hitlist.currentHit = 0;
    hitlist.currentUnknown = 1;
    hitlist.unknownBibName = unknowns.path;
    hitlist.referenceBibName = reference.bib.path;
}

// Runs the search, empties the message log for logSummary's lines, shows the time in the status
// ("Spec Sim Search done %d.%03d s") and brings the hitlist page to the front.
void TimedSearch(Hitlist& hitlist, CMatrix& features, CReferenceLibrary& reference, const CParameters& settings,
                 CSession& session, const std::function<void()>& logSummary, const CRetentionIndices* indices)
{
    const auto start = std::chrono::steady_clock::now();
    SearchSimilar(hitlist, features, reference, settings, indices);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    session.ClearLog();
    logSummary();
    session.SetStatus(Format("Spec Sim Search done %d.%03d s", static_cast<int>(elapsed / 1000),
                             static_cast<int>(elapsed % 1000)));
    session.ShowPage(3);
    session.Redraw();
}

// With the retention-index window on: the indices of the unknowns (by record number) and of
// every reference record. The reference records are read only then.
std::optional<CRetentionIndices> WindowIndices(CBib& unknowns, const CMatrixI& unknownNumbers,
                                               CReferenceLibrary& reference)
{
    if (unknowns.parameters.riWindow <= 0) return std::nullopt;
    CRetentionIndices indices;
    indices.unknowns = RetentionIndicesOf(unknowns, unknownNumbers);
    if (reference.bib.readState > 0 || reference.bib.inMemory) {
        indices.references = RetentionIndicesOf(reference.bib, reference.cdm.Rows());
    }
    return indices;
}

}  // namespace

void SearchCurrentSpectrum(CBib& unknowns, FeatureDefinitionSet& definitions, CReferenceLibrary& reference,
                           Hitlist& hitlist, CPrompter& prompter, CSession& session)
{
    if (definitions.lines.empty()) {
        session.SetStatus("Load CDM first!");
        return;
    }
    CalculateFeaturesCurrentMs(unknowns, definitions, prompter, session);
    CMatrixI numbers(1, 1);
    numbers.Set(1, 1, unknowns.currentBlock);
    PrepareHitlist(hitlist, numbers, unknowns, reference);
    const std::optional<CRetentionIndices> indices = WindowIndices(unknowns, numbers, reference);
    TimedSearch(
        hitlist, definitions.features, reference, unknowns.parameters, session,
        [&] {
            session.Log(Format("Ref #%d Sim %7.3f", hitlist.referenceNumbers.Get(1, 1), hitlist.similarities.Get(1, 1)));
        },
        indices ? &*indices : nullptr);
}

void SearchWholeBib(CBib& unknowns, FeatureDefinitionSet& definitions, CReferenceLibrary& reference,
                    Hitlist& hitlist, CPrompter& prompter, CSession& session)
{
    if (definitions.lines.empty()) {
        session.SetStatus("Load CDM first!");
        return;
    }
    CalculateFeaturesForBib(unknowns, definitions, prompter, session);
    const int records = definitions.features.Rows();
    CMatrixI numbers(records, 1);
    for (int i = 1; i <= records; ++i) numbers.Set(i, 1, i);
    PrepareHitlist(hitlist, numbers, unknowns, reference);
    const std::optional<CRetentionIndices> indices = WindowIndices(unknowns, numbers, reference);
    session.SetStatus("calculating spectral similarity ...");
    TimedSearch(
        hitlist, definitions.features, reference, unknowns.parameters, session,
        [&] { session.Log(Format("Spectral Similarity Search done for %d Unknown.", records)); },
        indices ? &*indices : nullptr);
}

void SaveHitlistToBib(const Hitlist& hitlist, CReferenceLibrary& reference, const std::string& path,
                      CSession& session)
{
    const int32_t unknown = hitlist.ChosenUnknown();
    std::vector<int32_t> records;
    for (int h = 1; h <= hitlist.referenceNumbers.Cols(); ++h) {
        // Ranks without a hit have no record to copy.
        if (int32_t record = hitlist.referenceNumbers.Get(unknown, h); record > 0) records.push_back(record);
    }
    CMatrixI list(1, static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) list.Set(1, static_cast<int>(i + 1), records[i]);
    reference.bib.writePath = path;
    reference.bib.SaveLibrary(&list, 0);
    session.SetStatus("BIB of Hitlist saved.");
}

}  // namespace kiv
