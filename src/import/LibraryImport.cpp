#include "import/LibraryImport.h"

#include "base/Paths.h"
#include "import/MemoryImport.h"
#include "import/TextImport.h"

namespace kiv {

namespace {

bool ImportJcampLibrary(CBib& bib, const std::string& typ, const std::vector<std::string>& inputFiles,
                        const std::string& bibFile)
{
    if (!bib.NewLibrary(BatchLibraryName(bibFile), typ, bibFile)) return false;
    return ImportTextFiles(bib, inputFiles, kImportJcamp).completed;
}

}  // namespace

std::string BatchLibraryName(const std::string& bibFile)
{
    const std::string stem = WithoutLast(bibFile, 4);
    return std::string(FileNamePart(stem));
}

bool RunLibraryImport(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles, const std::string& bibFile)
{
    if (importKind == ImportKind::Jcamp) return ImportJcampLibrary(bib, "MS-Lib", inputFiles, bibFile);
    if (importKind != ImportKind::CosCalib) return false;
    bool ok = ImportCosCalib(bib, inputFiles);
    bib.path = WithoutLast(bibFile, 4);
    bib.writePath = bibFile;
    ok = bib.SaveLibrary(nullptr, 0) && ok;
    bib.Close();
    return ok;
}

bool ImportForFeatureGeneration(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles,
                                const std::string& bibFile)
{
    if (importKind != ImportKind::Jcamp) return true;
    return ImportJcampLibrary(bib, "MS", inputFiles, bibFile);
}

}  // namespace kiv
