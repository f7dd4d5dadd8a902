#pragma once
// The command file of a batch run: "Key = value" lines that name the task's files and settings,
// plain lines that list input files after an import key, "//" comments.
#include <cstdint>
#include <string>
#include <vector>

#include "import/ImportKind.h"

namespace kiv {

struct CRunSettings {
    std::string bibFile;
    std::string featureFile;
    int32_t saveMode = 0;
    std::string cdmFormat;
    int32_t roundFeat = 0;
    std::string featureIndexFile;
    std::string testIndexFile;
    std::string descriptorFile;
    int32_t noHits = 100;
    int32_t delIdentHit1 = 0;
    int32_t maxMass = 1000;
    std::string resultFile;
    std::string progressFile;
    std::string semEndFile;  // the end marker
    std::string stopFile;  // created by the driving program to request a stop
    int32_t simCriterion = 0;
    bool simFeatSelGiven = false;
    std::string simFeatSelText;
    std::vector<int32_t> simFeatSel;
    int32_t randomSeed = 0;
    int32_t selectFeatures = 0;
    int32_t randomRuns = 1;
    int32_t featuresRam = 0;
    int32_t noLog = 0;
    int32_t randomPairs = 0;
    int32_t threads = 0;  // threads of the feature generation, 0 every core

    ImportKind importKind = ImportKind::None;
    std::vector<std::string> inputFiles;

    CRunSettings();  // the default progress, end-marker and stop files lie in the temporary folder
};

// Reads the command file into settings. Reports "Invalid command file name %s!" and returns
// false when it cannot be opened (a folder cannot). A key that is not known ("Unknown key %s
// ignored") and a plain line outside an input list ("Line ignored: %s") are reported and skipped.
bool ReadCommandFile(const std::string& path, CRunSettings& settings);

}  // namespace kiv
