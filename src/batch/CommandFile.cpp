#include "batch/CommandFile.h"

#include <filesystem>
#include <variant>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "settings/NumberList.h"

namespace kiv {

namespace {

// Lines are read whole: a long path cut into pieces would name another file.
constexpr size_t kCommandLineLength = 65535;

using StringKey = std::string CRunSettings::*;
using IntegerKey = int32_t CRunSettings::*;
enum class SpecialKey { ImportCosCalib, ImportJcamp, ImportMsp, ImportNetcdf, SimFeatSel };

struct CommandKey {
    const char* name;
    std::variant<StringKey, IntegerKey, SpecialKey> target;
};

const CommandKey kCommandKeys[] = {
    {"BIB File", &CRunSettings::bibFile},
    {"Feature File", &CRunSettings::featureFile},
    {"Savemode", &CRunSettings::saveMode},
    {"CDM Format", &CRunSettings::cdmFormat},
    {"Round Feat", &CRunSettings::roundFeat},
    {"Feature Index File", &CRunSettings::featureIndexFile},
    {"Test Index File", &CRunSettings::testIndexFile},
    {"Descriptor File", &CRunSettings::descriptorFile},
    {"No Hits", &CRunSettings::noHits},
    {"Del ident Hit1", &CRunSettings::delIdentHit1},
    {"Max Mass", &CRunSettings::maxMass},
    {"Import COSCALIB", SpecialKey::ImportCosCalib},
    {"Import JCAMP", SpecialKey::ImportJcamp},
    {"Import MSP", SpecialKey::ImportMsp},
    {"Import NETCDF", SpecialKey::ImportNetcdf},
    {"Result File", &CRunSettings::resultFile},
    {"Progress File", &CRunSettings::progressFile},
    {"Sem End File", &CRunSettings::semEndFile},
    {"Stop File", &CRunSettings::stopFile},
    {"Sim Criterion", &CRunSettings::simCriterion},
    {"Sim Feat Sel", SpecialKey::SimFeatSel},
    {"Random Seed", &CRunSettings::randomSeed},
    {"Select Features", &CRunSettings::selectFeatures},
    {"Random Runs", &CRunSettings::randomRuns},
    {"Features Ram", &CRunSettings::featuresRam},
    {"No Log", &CRunSettings::noLog},
    {"Random Pairs", &CRunSettings::randomPairs},
    {"Threads", &CRunSettings::threads},
};

void ApplySpecialKey(SpecialKey key, std::string_view value, CRunSettings& settings, bool& collecting)
{
    switch (key) {
    case SpecialKey::ImportCosCalib:
        settings.importKind = ImportKind::CosCalib;
        collecting = true;
        break;
    case SpecialKey::ImportJcamp:
    case SpecialKey::ImportMsp:
    case SpecialKey::ImportNetcdf: {
        std::string_view file = TrimLeftBlanks(value);
        if (!file.empty()) settings.inputFiles.emplace_back(file);
        settings.importKind = key == SpecialKey::ImportMsp      ? ImportKind::Msp
                              : key == SpecialKey::ImportNetcdf ? ImportKind::Netcdf
                                                                : ImportKind::Jcamp;
        collecting = true;
        break;
    }
    case SpecialKey::SimFeatSel:
        settings.simFeatSelGiven = true;
        settings.simFeatSelText = std::string(value);
        ParseNumberList(value, settings.simFeatSel);
        break;
    }
}

// One command-file line; collecting tells whether plain lines are input files.
void ApplyCommandLine(std::string line, CRunSettings& settings, bool& collecting)
{
    TrimRight(line, "\n");
    TrimRight(line, " ");
    size_t comment = line.find("//");
    if (comment != std::string::npos) line.erase(comment);

    size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) {
        std::string_view plain = TrimLeftBlanks(line);
        if (plain.empty()) return;
        if (collecting) {
            settings.inputFiles.emplace_back(plain);
        } else {
            ReportRunTimeError(Format("Line ignored: %.*s", static_cast<int>(plain.size()), plain.data()));
        }
        return;
    }
    collecting = false;
    std::string key = line.substr(0, equals);
    TrimRight(key, " ");
    std::string_view value = std::string_view(line).substr(equals + 1);
    for (const CommandKey& entry : kCommandKeys) {
        if (!EqualsIgnoreCase(entry.name, key)) continue;
        if (auto text = std::get_if<StringKey>(&entry.target)) {
            settings.**text = std::string(TrimLeftBlanks(value));
        } else if (auto number = std::get_if<IntegerKey>(&entry.target)) {
            settings.**number = ParseInt(value);
        } else {
            ApplySpecialKey(std::get<SpecialKey>(entry.target), value, settings, collecting);
        }
        return;
    }
    ReportRunTimeError(Format("Unknown key %s ignored", key.c_str()));
}

}  // namespace

CRunSettings::CRunSettings()
    : progressFile(TempFolderFile("progress.txt")),
      semEndFile(TempFolderFile("stop.txt")),
      stopFile(TempFolderFile("finished.txt"))
{
}

bool ReadCommandFile(const std::string& path, CRunSettings& settings)
{
    CTextReader reader;
    std::error_code error;
    if (std::filesystem::is_directory(path, error) || !reader.Open(path)) {
        ReportRunTimeError(Format("Invalid command file name %s!", path.c_str()));
        return false;
    }
    bool collecting = false;
    std::string line;
    while (reader.ReadLine(line, kCommandLineLength)) ApplyCommandLine(line, settings, collecting);
    return true;
}

}  // namespace kiv
