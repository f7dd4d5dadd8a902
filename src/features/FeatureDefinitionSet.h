#pragma once
// A set of mass-spectral feature definitions: the lines of a definition file, each naming one
// family of features with its parameters, the names of the features they yield and the feature
// matrix computed from them (one row per spectrum, one column per feature, mostly on a 0 to 100
// scale). The line order fixes the column order of every feature file written from the set.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileResult.h"
#include "base/MessageLog.h"
#include "base/Prompt.h"
#include "features/EngineContext.h"
#include "features/FeatureOutputFiles.h"
#include "features/MassLists.h"
#include "matrix/Matrix.h"

namespace kiv {

struct ParsedDefinitions;

class FeatureDefinitionSet {
public:
    // As after Reset.
    FeatureDefinitionSet() = default;

    // Empties everything: no lines, names or features, no files, save mode and quantisation 0.
    void Reset();

    // Reads definitionFile into lines (asking for the file through prompter when the name is
    // empty; a chosen file resets the set first). Lines are cut at 1024 characters (a longer
    // line continues as the next one), trailing white space is removed and lines shorter than 2
    // characters are skipped. Returns Done, NoFileChosen, or CannotOpen when the file cannot be
    // opened ("Feature Definition file not found!" is reported).
    FileResult LoadDefinitions(CPrompter& prompter);
    FileResult LoadDefinitions();  // never asks

    // Writes names, one per line, to path (asking for the file when it is empty). Returns Done,
    // NoFileChosen, or CannotOpen when the file cannot be created (nothing is reported).
    FileResult SaveFeatureNames(CPrompter& prompter, const std::string& path = {});

    // No features and names; the lines stay.
    void ClearFeatures();
    // A zero-filled rows x cols feature matrix (cols 0: featureCount columns); a shape that is
    // not positive, or that cannot be allocated, clears the features.
    void ResizeFeatures(int rows, int cols);

    // Evaluates the lines on the spectra (one per row, column m = mass m, base peak 100).
    // firstRow 0 (the first pass) makes a new feature matrix with one row per spectrum and new
    // names. firstRow >= 1 (a row pass) overwrites rows firstRow.. of the existing matrix and
    // leaves the names alone; "Feature Matrix is too small!" is reported when firstRow lies
    // beyond rowCount. The spectra are restored before returning, whatever "SCI" lines did.
    void ComputeFeatures(CMatrix& spectra, int firstRow);

    static std::vector<int> ParseMassList(std::string_view text);
    static MassRanges ParseMassRanges(std::string_view text);

    // 1 after Reset and ClearFeatures; 0 once definitions were opened or features exist.
    int state = 1;
    // 1 while a feature output file is open.
    int outputOpen = 0;
    std::string definitionFile;  // empty: ask
    std::string outputFile;  // empty: ask
    int featureCount = 0;  // columns of features (and entries of names after a first pass)
    int rowCount = 0;  // rows of features
    int saveMode = 0;  // output format code of the feature output
    int featureQuantisation = 0;  // 10: values rounded to 256 levels
    CMatrix features;
    std::vector<std::string> lines;  // the definition lines as loaded
    std::vector<std::string> names;  // name of each feature column, column 1 first
    // The open feature output and the CDM writer (FeatureOutput.h).
    CFeatureOutputFiles output;

    // The lines, read into the engine's form the first time they are evaluated and again only
    // when they change, so that a library-wide run does not re-read them per spectrum.
    const ParsedDefinitions& Parsed();

private:
    std::shared_ptr<const ParsedDefinitions> parsed_;
    EngineScratch scratch_;
};

// The command "Load Feature Definition File": a fresh set read from a file the user chooses;
// the log gets "%d feature definitions loaded".
FileResult LoadFeatureDefinitionFile(FeatureDefinitionSet& set, CPrompter& prompter, MessageLog& log);

}  // namespace kiv
