#pragma once
// The library-building steps of the batch tasks, as plain functions of the run's values: the
// import task (JCAMP-DX or CosCalib files into the library named by "BIB File") and the import
// that a feature generation may do before it computes features.
#include <string>
#include <vector>

#include "import/ImportKind.h"
#include "library/Bib.h"

namespace kiv {

// The name a batch import gives the new library: "BIB File" without its last four characters
// (the ".ssd") and without its folder.
std::string BatchLibraryName(const std::string& bibFile);

// The import task. Kind 10: a new library of type "MS-Lib" at bibFile (a stale index of that
// path is deleted) filled with the spectra of the input files in list order. Kind 1: the
// CosCalib files are read into memory and the library is written to bibFile. The library object
// is closed afterwards. True when every input file was read.
bool RunLibraryImport(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles, const std::string& bibFile);

// The import step of the feature generation: kind 10 builds the library at bibFile (type "MS")
// from the input files; any other kind imports nothing and the existing library is used.
bool ImportForFeatureGeneration(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles,
                                const std::string& bibFile);

}  // namespace kiv
