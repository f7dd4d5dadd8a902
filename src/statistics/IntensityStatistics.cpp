#include "statistics/IntensityStatistics.h"

#include <algorithm>
#include <cstdint>

#include "base/Format.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "features/FeatureRecordLoop.h"
#include "statistics/RangeStatistics.h"
#include "statistics/StatisticsWalk.h"

namespace kiv {

namespace {

constexpr RangeReportWords kMassWords = {"Mass Statistic", true,
                                         "  mass     no        min        max       mean   variance",
                                         "Intensity Statistic", "Irange <=I   no masses"};
constexpr RangeReportWords kFeatureWords = {"Feature Statistic", false,
                                            "featno     no        min        max       mean   variance",
                                            "Feature Value Statistic", "Irange <=I   no features"};

ValueRanges AskRanges(CPrompter& prompter, const char* what)
{
    const double lower = AskReal(prompter, Format("Enter %s min:", what), 0.0);
    const double upper = AskReal(prompter, Format("Enter %s max:", what), 100.0);
    const int steps = AskInteger(prompter, Format("Enter number of %s steps:", what), 100);
    return TidyRanges(lower, upper, steps);
}

void Finish(const CRangeStatistics& statistics, const RangeReportWords& words, int ranges, int columns,
            RangeTables& result, CPrompter& prompter, CSession& session)
{
    result.table = statistics.Table();
    result.cells = statistics.Cells();
    session.Log("BIB MS Statistics Matrix calculated.");
    session.Log(Format("Intensity Ranges: %d", ranges));
    session.Log(Format("Masses %d", columns));
    session.Redraw();
    SaveStatisticsReport(prompter, statistics.Report(words));
}

bool LibraryOpen(const CBib& bib) { return bib.readState > 0 || bib.inMemory > 0; }

}  // namespace

void MassStatisticsCommand(CBib& bib, RangeTables& result, CPrompter& prompter, CSession& session)
{
    if (bib.header.blockCount < 1) return;
    const ValueRanges ranges = AskRanges(prompter, "I");
    // No spectrum vector reaches beyond the largest 16-bit mass.
    const int masses = std::clamp(bib.parameters.msmMaxMass, 0, static_cast<int>(UINT16_MAX));
    CRangeStatistics statistics(masses, ranges);
    WalkBlocks(
        bib, session,
        [&](int) {
            CMassSpectrum& spectrum = bib.record.spectrum;
            spectrum.ToVector();
            spectrum.Normalise();
            statistics.Add({spectrum.vector.Flat().begin(), spectrum.vector.Flat().end()});
        },
        SpectrumReading::AsStored);
    Finish(statistics, kMassWords, ranges.steps + 2, masses, result, prompter, session);
}

void FeatureStatisticsCommand(CBib& bib, FeatureDefinitionSet& set, RangeTables& result, CPrompter& prompter,
                              CSession& session)
{
    if (!LibraryOpen(bib) || set.lines.empty()) {
        ReportRunTimeError("Open BIB and load Feature definitions!");
        return;
    }
    const int count = bib.header.blockCount;
    if (count < 1) return;
    const ValueRanges ranges = AskRanges(prompter, "Feature");
    const int previous = bib.currentBlock;
    auto readVector = [&bib](int block, CMatrix& spectrum) {
        bib.SelectBlock(block);
        bib.record.spectrum.ToVector();
        spectrum = bib.record.spectrum.vector;
    };
    // The names and the count of the features follow from the lines: one evaluation tells them.
    CMatrix first;
    readVector(1, first);
    if (first.Rows() < 1) first.Alloc(1, 1);
    set.ClearFeatures();
    set.ComputeFeatures(first, 0);
    CRangeStatistics statistics(set.featureCount, ranges);
    session.SetStatus("calculate Statistics ...");
    const FeatureRecordCalls calls = {
        readVector,
        [count](int block) { return ReportProgress(static_cast<int>(int64_t(block) * 100 / count), "calculate Statistics ...") <= 1; },
        nullptr,
        [&statistics](int, std::span<const double> row, const std::string&) { statistics.Add(row); }};
    RunFeatureRecordLoop(set, count, set.featureCount, 0, RecordMessages::EveryRecord, calls);
    bib.SelectBlock(previous);
    Finish(statistics, kFeatureWords, ranges.steps + 2, set.featureCount, result, prompter, session);
}

}  // namespace kiv
