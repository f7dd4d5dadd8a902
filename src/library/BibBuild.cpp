#include "library/BibBuild.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/Format.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "library/BibIndex.h"

namespace kiv {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> LibrariesIn(const fs::path& folder, const std::string& outputPath)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        // The reader opens "<stem>.ssd", so only that spelling of the extension can be read.
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".ssd") != 0) continue;
        if (!entry.is_regular_file(error)) continue;
        // The output may already exist in the same folder: opening it for writing would destroy
        // it as an input.
        std::error_code same;
        if (!outputPath.empty() && fs::equivalent(entry.path(), outputPath, same) && !same) continue;
        found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

FileResult BuildBibFromDirectory(CBib& bib, const std::string& anyFile, const std::string& outputPath, MessageLog& log)
{
    std::string chosen = anyFile;
    if (chosen.empty()) {
        std::optional<std::string> answer = bib.Prompter().ChooseFileToOpen({"Build new BIB from Directory", "*.ssd", kBibFileFilter});
        if (!answer || answer->empty()) return FileResult::NoFileChosen;
        chosen = *answer;
    }
    std::error_code error;
    fs::path folder = fs::path(chosen).parent_path();
    if (folder.empty()) folder = ".";
    if (!fs::is_directory(folder, error)) {
        ReportRunTimeError("Directory wrong!");
        return FileResult::CannotOpen;
    }
    const std::vector<fs::path> libraries = LibrariesIn(folder, outputPath);
    FileResult result = FileResult::Done;
    std::string outputStem;
    for (size_t i = 0; i < libraries.size() && result == FileResult::Done; ++i) {
        const std::string name = libraries[i].filename().string();
        if (i == 0) log.push_back("Generating new BIB from BIBs in directory");
        log.push_back(Format("add %s", name.c_str()));
        bib.Close();
        bib.path = WithoutSsdExtension(libraries[i].string());
        if (bib.Open() != FileResult::Done || !bib.ReadHeader()) {
            result = FileResult::CannotOpen;
            break;
        }
        if (i == 0) {
            bib.header.blockCount = 0;
            bib.header.vector.Free();
            bib.writePath = outputPath;
            if (!bib.WriteHeader()) {
                result = bib.writePath.empty() ? FileResult::NoFileChosen : FileResult::CannotOpen;
                break;
            }
            outputStem = WithoutSsdExtension(bib.writePath);
        }
        // Blocks are copied in file order up to the end of the data file rather than as many as
        // the header counts: a library written but never opened still counts 0 there.
        while (result == FileResult::Done && !bib.AtEndOfData()) {
            if (!bib.ReadBlock(SpectrumReading::AsStored) || !bib.WriteBlock()) result = FileResult::CannotOpen;
        }
        if (ReportProgress(static_cast<int>(100 * (i + 1) / libraries.size()), name) > 1) result = FileResult::CannotOpen;
    }
    const bool written = bib.writeState > 0;
    bib.CloseWrite();
    bib.Close();
    if (written) {
        // The new library gets its index (and true block count) at once.
        bib.path = outputStem;
        RebuildBibIndex(outputStem, bib.header);
    }
    return result;
}

}  // namespace kiv
