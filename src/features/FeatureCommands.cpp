#include "features/FeatureCommands.h"

#include <algorithm>

#include "base/Format.h"
#include "base/MessageLog.h"
#include "base/Progress.h"
#include "features/FeatureOutput.h"
#include "features/FeatureRecordLoop.h"

namespace kiv {

namespace {

const std::vector<PromptPreset> kSavePresets = {
    {"CDM", "-10"}, {"Dragon", "-5"}, {"Text %20.15", "-1"}, {"Text %12.5", "0"}, {"Float32", "1"}, {"UInt8", "2"},
};
constexpr const char* kSavePrompt =
    "Enter Savemode:\n-10\tChemometric Data Matrix\n-5\tDragon text\n-1\ttext %20.15f\n0\ttext %12.5f\n"
    "1\tfloat32\n2\tuint8 0-255\n";

const std::vector<PromptPreset> kStreamPresets = {
    {"with header", "-10"}, {"Text %20.15", "-1"}, {"Text %20.5", "-3"},
    {"Text %12.5", "0"},    {"Float32", "1"},      {"UInt8", "2"},
};
constexpr const char* kStreamPrompt =
    "Enter Savemode:\n-10\twith header\n-1\ttext %20.15f\n-3\ttext %20.5f\n0\ttext %12.5f\n1\tfloat32\n"
    "2\tuint8 0-255\n";

// Asks for the save mode; false (and the mode unchanged) on cancel.
bool AskSaveMode(FeatureDefinitionSet& set, CPrompter& prompter, const char* prompt,
                 const std::vector<PromptPreset>& presets)
{
    int cancelled = 0;
    const int mode = AskIntegerOrCancel(prompter, prompt, set.saveMode, cancelled, presets);
    if (cancelled) return false;
    set.saveMode = mode;
    return true;
}

// The definition lines are loaded through the menu command when none are loaded yet.
void EnsureDefinitions(FeatureDefinitionSet& set, CPrompter& prompter, CSession& session)
{
    if (!set.lines.empty()) return;
    MessageLog log;
    LoadFeatureDefinitionFile(set, prompter, log);
    for (const std::string& line : log) session.Log(line);
}

// First pass on one spectrum, to learn the feature names and count. Names and count follow from
// the definition lines alone, so a record without a spectrum (empty or damaged) is evaluated as
// a spectrum without intensity instead: a pass over no spectrum at all would leave the count at
// 0 and every later row pass would have nowhere to write.
void LearnFeatures(FeatureDefinitionSet& set, CMatrix& spectrum)
{
    set.ClearFeatures();
    if (spectrum.Rows() >= 1) {
        set.ComputeFeatures(spectrum, 0);
        return;
    }
    CMatrix nothing(1, 1);
    set.ComputeFeatures(nothing, 0);
}

// The vector form of the current record's spectrum (0 x 0 when the record has none).
CMatrix& CurrentVector(CBib& bib)
{
    CMassSpectrum& spectrum = bib.record.spectrum;
    spectrum.ToVector();
    return spectrum.vector;
}

int Percent(int i, int n) { return static_cast<int>(100LL * i / n); }

// The library's records in order, each as the vector form of its spectrum.
std::function<void(int, CMatrix&)> ReadRecords(CBib& bib)
{
    return [&bib](int i, CMatrix& spectrum) {
        bib.SelectBlock(i);
        spectrum = CurrentVector(bib);
    };
}

// Progress of n records, reported before each record's row; a cancel or the stop file ends
// the loop.
std::function<bool(int)> ProgressUntilStop(int n)
{
    return [n](int i) { return ReportProgress(Percent(i, n), "") <= 1; };
}

// Record i's row into row i of the features.
std::function<void(int, std::span<const double>, const std::string&)> TakeInto(CMatrix& features)
{
    return [&features](int i, std::span<const double> row, const std::string&) {
        std::copy(row.begin(), row.end(), features.Row(i).begin());
    };
}

// The record loop over the whole library with the library's thread setting. The loop reads
// ahead; after a stop the current record is the last one whose row was taken (record 1 when
// none was), as when the records are read one by one.
FeatureRecordLoopResult RunLibraryLoop(CBib& bib, FeatureDefinitionSet& set, int featureCount,
                                       const FeatureRecordCalls& calls)
{
    const FeatureRecordLoopResult result = RunFeatureRecordLoop(set, bib.header.blockCount, featureCount,
                                                                bib.parameters.threads, RecordMessages::EveryRecord, calls);
    if (result.stopped) bib.SelectBlock(std::max(1, result.rowsTaken));
    return result;
}

}  // namespace

bool SetSaveMode(FeatureDefinitionSet& set, CPrompter& prompter)
{
    return AskSaveMode(set, prompter, kSavePrompt, kSavePresets);
}

void SaveFeatures(FeatureDefinitionSet& set, CPrompter& prompter)
{
    if (!AskSaveMode(set, prompter, kSavePrompt, kSavePresets)) return;
    std::string format;
    if (set.saveMode == kSaveCdm) format = CCdmFile::AskFormat(prompter, "FLOAT");
    OpenFeatureOutput(set, 0, format, prompter);
    WriteFeatureRows(set, 0);
    CloseFeatureOutput(set);
}

FeatureStreamResult StreamLibraryFeatures(CBib& bib, FeatureDefinitionSet& set, const std::string& cdmFormat,
                                          CPrompter& prompter)
{
    FeatureStreamResult result;
    const int n = bib.header.blockCount;
    // Without blocks there is no row to write, and a header announcing rows would be wrong.
    if (set.lines.empty() || n < 1) return result;

    bib.SelectBlock(1);
    LearnFeatures(set, CurrentVector(bib));
    set.ResizeFeatures(1, 0);
    set.output.bibFileName = bib.path.empty() ? std::string() : bib.path + ".ssd";
    result.opened = OpenFeatureOutput(set, n, cdmFormat, prompter);
    if (!result.opened) return result;

    // The plain save modes encode each row on the thread that computed it (the text layouts
    // cost more than the features); the CDM writer takes the rows through the set's one-row
    // matrix, which it is bound to. Either way the matrix ends up holding the last row.
    const int mode = set.saveMode;
    FeatureRecordCalls calls = {ReadRecords(bib), ProgressUntilStop(n), nullptr,
                                [&](int i, std::span<const double> row, const std::string& bytes) {
                                    std::copy(row.begin(), row.end(), set.features.Row(1).begin());
                                    if (mode == kSaveCdm) {
                                        WriteFeatureRows(set, i - 1);
                                    } else {
                                        WriteEncodedRows(set, bytes);
                                    }
                                }};
    // Definitions that yield no feature leave no row to write.
    if (mode != kSaveCdm && set.featureCount > 0) {
        calls.encode = [mode](int i, std::span<const double> row, std::string& bytes) {
            EncodeFeatureRow(mode, i, row, bytes);
        };
    }
    const FeatureRecordLoopResult loop = RunLibraryLoop(bib, set, set.featureCount, calls);
    result.rowsWritten = loop.rowsTaken;
    result.stopped = loop.stopped;
    CloseFeatureOutput(set);
    return result;
}

void WriteFeaturesForBib(CBib& bib, FeatureDefinitionSet& set, CPrompter& prompter, CSession& session)
{
    if (bib.header.blockCount < 1) {
        session.SetStatus("load BIB first!");
        return;
    }
    if (!AskSaveMode(set, prompter, kStreamPrompt, kStreamPresets)) return;
    std::string format;
    if (set.saveMode == kSaveCdm) format = CCdmFile::AskFormat(prompter, "TEXT\t%12.5f");
    session.SetStatus("writing features ...");
    const FeatureStreamResult result = StreamLibraryFeatures(bib, set, format, prompter);
    if (result.opened) {
        session.Log(Format("%d features written for %d spectra", static_cast<int>(set.names.size()), result.rowsWritten));
    } else {
        session.Log("canceled");
    }
    session.Redraw();
}

void CalculateFeaturesCurrentMs(CBib& bib, FeatureDefinitionSet& set, CPrompter& prompter, CSession& session)
{
    EnsureDefinitions(set, prompter, session);
    CMatrix& spectrum = CurrentVector(bib);
    set.ClearFeatures();
    set.ComputeFeatures(spectrum, 0);
    session.Log(Format("%d features generated for current MS", static_cast<int>(set.names.size())));
    session.Redraw();
}

void CalculateFeaturesForBib(CBib& bib, FeatureDefinitionSet& set, CPrompter& prompter, CSession& session)
{
    EnsureDefinitions(set, prompter, session);
    session.SetStatus("calculating features ...");
    const int n = bib.header.blockCount;
    if (n < 1) return;
    bib.SelectBlock(1);
    LearnFeatures(set, CurrentVector(bib));
    set.ResizeFeatures(n, 0);
    // A matrix that could not be allocated has been reported and cleared: no row pass then.
    if (set.rowCount == n) {
        const FeatureRecordCalls calls = {ReadRecords(bib), ProgressUntilStop(n), nullptr, TakeInto(set.features)};
        RunLibraryLoop(bib, set, set.featureCount, calls);
    }
    session.Redraw();
    session.Log(Format("%d features generated for %d blocks", static_cast<int>(set.names.size()), n));
}

void CalculateFeaturesForBibMem(CBib& bib, CMatrix& spectra, FeatureDefinitionSet& set, CPrompter& prompter,
                                CSession& session)
{
    EnsureDefinitions(set, prompter, session);
    session.SetStatus("calculating features ...");
    const int n = spectra.Rows();
    if (n < 1) {
        set.Reset();
        return;
    }
    CMatrix& current = CurrentVector(bib);
    if (current.Rows() >= 1) {
        LearnFeatures(set, current);
    } else {
        CMatrix first;
        spectra.GetRow(1, first);
        LearnFeatures(set, first);
    }
    set.ResizeFeatures(n, 0);
    if (set.rowCount == n) {
        const FeatureRecordCalls calls = {[&](int i, CMatrix& spectrum) { spectra.GetRow(i, spectrum); },
                                          [](int) { return true; }, nullptr, TakeInto(set.features)};
        RunFeatureRecordLoop(set, n, set.featureCount, bib.parameters.threads, RecordMessages::FirstRecordOnly, calls);
    }
    session.Redraw();
    session.Log(Format("%d features generated for %d blocks", static_cast<int>(set.names.size()), n));
}

}  // namespace kiv
