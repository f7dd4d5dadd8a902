#include "features/FeatureDefinitionSet.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "features/DefinitionLine.h"
#include "features/FeatureEngine.h"

namespace kiv {

namespace {

constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr size_t kMaxLineLength = 1024;

}  // namespace

void FeatureDefinitionSet::Reset()
{
    state = 1;
    outputOpen = 0;
    features.Free();
    lines.clear();
    names.clear();
    definitionFile.clear();
    outputFile.clear();
    featureCount = 0;
    rowCount = 0;
    saveMode = 0;
    featureQuantisation = 0;
}

FileResult FeatureDefinitionSet::LoadDefinitions()
{
    CHeadlessPrompter prompter;
    return LoadDefinitions(prompter);
}

FileResult FeatureDefinitionSet::LoadDefinitions(CPrompter& prompter)
{
    lines.clear();
    if (definitionFile.empty()) {
        auto chosen = prompter.ChooseFileToOpen({"Load Feature Definition:", "*.txt", kTextFilter});
        if (!chosen) return FileResult::NoFileChosen;
        Reset();
        definitionFile = *chosen;
    }
    CTextReader reader;
    if (!reader.Open(definitionFile)) {
        ReportRunTimeError("Feature Definition file not found!");
        return FileResult::CannotOpen;
    }
    state = 0;
    std::string line;
    while (reader.ReadLine(line, kMaxLineLength)) {
        TrimRight(line, " \t\n\v\f\r");
        if (line.size() >= 2) lines.push_back(line);
    }
    return FileResult::Done;
}

FileResult FeatureDefinitionSet::SaveFeatureNames(CPrompter& prompter, const std::string& path)
{
    std::string target = path;
    if (target.empty()) {
        auto chosen = prompter.ChooseFileToSave({"Save Feature Names:", "*.txt", kTextFilter});
        if (!chosen) return FileResult::NoFileChosen;
        target = *chosen;
    }
    CTextWriter writer;
    if (!writer.Open(target)) return FileResult::CannotOpen;
    for (const std::string& name : names) {
        writer.Write(name);
        writer.Write("\n");
    }
    return FileResult::Done;
}

void FeatureDefinitionSet::ClearFeatures()
{
    features.Free();
    names.clear();
    featureCount = 0;
    rowCount = 0;
    state = 1;
}

void FeatureDefinitionSet::ResizeFeatures(int rows, int cols)
{
    if (cols == 0) cols = featureCount;
    if (rows <= 0 || cols <= 0 || !features.Alloc(rows, cols)) {
        // A shape the matrix refuses has been reported; counts that promise rows which do not
        // exist would let row passes write nowhere without a word, so the features are cleared.
        ClearFeatures();
        return;
    }
    featureCount = cols;
    rowCount = rows;
    state = 0;
}

const ParsedDefinitions& FeatureDefinitionSet::Parsed()
{
    if (!parsed_ || parsed_->source != lines) parsed_ = std::make_shared<const ParsedDefinitions>(ParseDefinitions(lines));
    return *parsed_;
}

void FeatureDefinitionSet::ComputeFeatures(CMatrix& spectra, int firstRow)
{
    const ParsedDefinitions& definitions = Parsed();
    const int G = spectra.Rows();
    if (firstRow >= 1) {
        if (rowCount < firstRow) ReportRunTimeError("Feature Matrix is too small!");
        const int64_t last = std::min<int64_t>(int64_t(firstRow) + G - 1, features.Rows());
        for (int64_t r = firstRow; r <= last; ++r) {
            for (double& x : features.Row(static_cast<int>(r))) x = 0.0;
        }
        EvaluateDefinitions(definitions, spectra, features, firstRow - 1, featureQuantisation, scratch_);
        return;
    }

    names.clear();
    featureCount = 0;
    CMatrix result;
    if (definitions.featureCount > 0) result.Alloc(G, definitions.featureCount);
    for (const DefinitionLine& line : definitions.lines) names.insert(names.end(), line.names.begin(), line.names.end());
    EvaluateDefinitions(definitions, spectra, result, 0, featureQuantisation, scratch_);
    features = std::move(result);
    if (features.Rows() >= 1) {
        state = 0;
        featureCount = features.Cols();
        rowCount = G;
    }
}

std::vector<int> FeatureDefinitionSet::ParseMassList(std::string_view text) { return kiv::ParseMassList(text); }

MassRanges FeatureDefinitionSet::ParseMassRanges(std::string_view text) { return kiv::ParseMassRanges(text); }

FileResult LoadFeatureDefinitionFile(FeatureDefinitionSet& set, CPrompter& prompter, MessageLog& log)
{
    set.Reset();
    const FileResult result = set.LoadDefinitions(prompter);
    log.push_back(Format("%d feature definitions loaded", static_cast<int>(set.lines.size())));
    return result;
}

}  // namespace kiv
