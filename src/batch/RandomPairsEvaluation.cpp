#include "base/TextFile.h"
#include "batch/Evaluation.h"
#include "batch/EvaluationTasks.h"
#include "search/Similarity.h"

namespace kiv {

void RunRandomPairsEvaluation(CBatchRun& run)
{
    const CRunSettings& settings = run.settings;
    // From 10 on the criterion less 10 is used (after the best-candidates score, which changes
    // nothing here).
    const int criterion = settings.simCriterion >= 10 ? settings.simCriterion - 10 : settings.simCriterion;
    CEvaluation evaluation(run);
    evaluation.OpenLibrary();
    evaluation.LoadDescriptors();
    CObjectVectors vectors(evaluation.library, settings, criterion >= 7 && criterion <= 9);
    vectors.Initialise();

    const int pairs = std::max(settings.randomPairs, 0);
    const int32_t size = evaluation.LibrarySize();
    CMatrixI draw;
    draw.RandomSubset(2 * pairs, size, settings.randomSeed);
    evaluation.CheckDescriptorCount();

    const int length = vectors.Length();
    const std::vector<int32_t> columns = SelectColumns(run.parameters.simFeatSel, length);
    std::vector<double> first(static_cast<size_t>(length)), second(static_cast<size_t>(length));
    CEvaluationTables tables;
    tables.records.Alloc(pairs, 2);
    tables.similarities.Alloc(pairs, 1);
    tables.similarities.Fill(kEmptySlot);
    tables.tanimotos.Alloc(pairs, 1);
    tables.tanimotos.Fill(kEmptySlot);
    for (int i = 1; i <= pairs; ++i) {
        if (i % 100 == 0 && !evaluation.Progress(static_cast<int>(100LL * i / pairs))) break;
        const int32_t a = draw.GetFlat(2 * i - 1), b = draw.GetFlat(2 * i);
        vectors.Build(a, true, first.data());
        vectors.Build(b, false, second.data());
        tables.records.Set(i, 1, a);
        tables.records.Set(i, 2, b);
        tables.similarities.Set(i, 1, Similarity(criterion, first.data(), second.data(), columns));
    }
    evaluation.CloseLibrary();

    double sum = 0;
    for (int i = 1; i <= pairs; ++i) {
        const int32_t a = tables.records.Get(i, 1), b = tables.records.Get(i, 2);
        const double tanimoto = a == 0 || b == 0 ? kEmptySlot : evaluation.descriptors.Tanimoto(a, b);
        tables.tanimotos.Set(i, 1, tanimoto);
        sum += tanimoto;
    }
    const std::string stem = evaluation.Stem();
    WriteTable(stem + "_i.txt", tables.records, "%7d");
    WriteTable(stem + "_f.txt", tables.similarities, "%10.4f");
    WriteTable(stem + "_t.txt", tables.tanimotos, "%8.4f");
    CTextWriter curve;
    if (curve.Open(stem + "_s.txt")) {
        curve.Write("mean tanimoto of 1-# hits for all test objects\n");
        if (pairs > 0) curve.Print("%8.6f\n", sum / pairs);
    }
}

}  // namespace kiv
