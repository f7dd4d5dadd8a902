#pragma once
// The library-building steps of the batch tasks, as plain functions of the run's values: the
// import task (JCAMP-DX or CosCalib files into the library named by "BIB File") and the import
// that a feature generation may do before it computes features.
//
// A JCAMP-DX import never costs the library it replaces: the new library is written under a
// temporary name in the target's folder and renamed over the target when the import ends (a
// stopped import or one with bad spectra still keeps the blocks it wrote). When not one input
// file could be opened, the existing library and its index stay as they were.
#include <string>
#include <vector>

#include "import/ImportKind.h"
#include "import/TextImport.h"
#include "library/Bib.h"

namespace kiv {

class CSession;

// The name a batch import gives the new library: "BIB File" without its last four characters
// (the ".ssd") and without its folder.
std::string BatchLibraryName(const std::string& bibFile);

// The file a JCAMP-DX import writes before it replaces bibFile.
std::string TemporaryLibraryPath(const std::string& bibFile);

// The import task. Kind 10: a new library of type "MS-Lib" at bibFile (the old index of that
// path is deleted) filled with the spectra of the input files in list order. Kind 1: the
// CosCalib files are read into memory and the library is written to bibFile. Kind 30: the MSP
// files as kind 10 does with JCAMP-DX files (damaged records skipped and reported). Kind 40: the
// netCDF GC-MS run of the first input file is written to bibFile. The library object
// is closed afterwards. log, when given, receives the number of spectra of each file.
ImportOutcome RunLibraryImport(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles,
                               const std::string& bibFile, CSession* log = nullptr);

// The import step of the feature generation: kind 10 (or 30, MSP) builds the library at bibFile
// (type "MS") from the input files; any other kind imports nothing and the existing library is used.
ImportOutcome ImportForFeatureGeneration(CBib& bib, ImportKind importKind, const std::vector<std::string>& inputFiles,
                                         const std::string& bibFile, CSession* log = nullptr);

}  // namespace kiv
