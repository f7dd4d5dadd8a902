#include "import/LibraryImport.h"

#include <filesystem>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "import/MemoryImport.h"
#include "import/MspImport.h"
#include "import/netcdf/NetcdfLibrary.h"

namespace kiv {

namespace {

void LeaveUnchanged(const std::string& bibFile)
{
    ReportRunTimeError(Format("No input file could be opened; %s left unchanged", bibFile.c_str()));
}

// Puts the finished temporary library in the target's place; the target's old index describes
// another data file and goes.
bool ReplaceLibrary(const std::string& temporary, const std::string& bibFile)
{
    std::error_code error;
    std::filesystem::rename(temporary, bibFile, error);
    if (error) {
        ReportRunTimeError(Format("Cannot replace %s by the imported library %s", bibFile.c_str(), temporary.c_str()));
        return false;
    }
    CBib target;
    target.writePath = bibFile;
    target.DeleteStaleIndex();
    return true;
}

// The temporary library of a finished import takes the target's place.
void PlaceImportedLibrary(const std::string& temporary, const std::string& bibFile, ImportOutcome& outcome)
{
    if (outcome.filesOpened == 0) {
        // Nothing was read: the library in place is worth more than an empty one. A stop
        // before the first file needs no message.
        RemoveFile(temporary);
        if (!outcome.stopped) LeaveUnchanged(bibFile);
        outcome.completed = false;
        return;
    }
    if (!ReplaceLibrary(temporary, bibFile)) outcome.completed = false;
}

ImportOutcome ImportJcampLibrary(CBib& bib, const std::string& typ, const std::vector<std::string>& inputFiles,
                                 const std::string& bibFile, CSession* log)
{
    const std::string temporary = TemporaryLibraryPath(bibFile);
    if (!bib.NewLibrary(BatchLibraryName(bibFile), typ, temporary)) return {};
    ImportOutcome outcome = ImportTextFiles(bib, inputFiles, TextImportFormat::Jcamp, log);
    PlaceImportedLibrary(temporary, bibFile, outcome);
    return outcome;
}

ImportOutcome ImportMspBatchLibrary(CBib& bib, const std::string& typ, const std::vector<std::string>& inputFiles,
                                    const std::string& bibFile)
{
    const std::string temporary = TemporaryLibraryPath(bibFile);
    ImportOutcome outcome = RunMspLibraryImport(bib, typ, BatchLibraryName(bibFile), inputFiles, temporary);
    PlaceImportedLibrary(temporary, bibFile, outcome);
    return outcome;
}

bool AnyReadableFile(const std::vector<std::string>& files)
{
    for (const std::string& path : files) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) return true;
    }
    return false;
}

ImportOutcome ImportCosCalibLibrary(CBib& bib, const std::vector<std::string>& inputFiles, const std::string& bibFile)
{
    ImportOutcome outcome;
    if (!AnyReadableFile(inputFiles)) {
        LeaveUnchanged(bibFile);
        return outcome;
    }
    outcome.completed = ImportCosCalib(bib, inputFiles);
    bib.path = WithoutLast(bibFile, 4);
    bib.writePath = bibFile;
    outcome.completed = bib.SaveLibrary(nullptr, 0) && outcome.completed;
    bib.Close();
    return outcome;
}

}  // namespace

std::string BatchLibraryName(const std::string& bibFile)
{
    const std::string stem = WithoutLast(bibFile, 4);
    return std::string(FileNamePart(stem));
}

std::string TemporaryLibraryPath(const std::string& bibFile) { return bibFile + ".part"; }

ImportOutcome RunLibraryImport(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles,
                               const std::string& bibFile, CSession* log)
{
    switch (importKind) {
    case ImportKind::Jcamp:
        return ImportJcampLibrary(bib, "MS-Lib", inputFiles, bibFile, log);
    case ImportKind::CosCalib:
        return ImportCosCalibLibrary(bib, inputFiles, bibFile);
    case ImportKind::Msp:
        return ImportMspBatchLibrary(bib, "MS-Lib", inputFiles, bibFile);
    case ImportKind::Netcdf:
        return ImportNetcdfLibrary(bib, inputFiles, bibFile);
    default:
        return {};
    }
}

ImportOutcome ImportForFeatureGeneration(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles,
                                         const std::string& bibFile, CSession* log)
{
    if (importKind == ImportKind::Msp) return ImportMspBatchLibrary(bib, "MS", inputFiles, bibFile);
    if (importKind != ImportKind::Jcamp) {
        ImportOutcome nothing;
        nothing.completed = true;
        return nothing;
    }
    return ImportJcampLibrary(bib, "MS", inputFiles, bibFile, log);
}

}  // namespace kiv
