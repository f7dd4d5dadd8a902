#pragma once
// Importers that build a library in memory from the text output of other programs: JC exports
// of GC-MS runs (one scan per spectrum, the run's chromatogram in the header vector), CosCalib
// peak lists and MassLib page files (".cop"). Each empties the library first (its read side is
// closed and everything reset), then appends one record per spectrum; the library can afterwards
// be written with the library writer.
#include <string>
#include <vector>

#include "library/Bib.h"

namespace kiv {

class CSession;

// Closes the library's read side, resets it and makes it an empty in-memory library with the
// given title and type.
void StartMemoryLibrary(CBib& bib, const std::string& title, const std::string& typ);

// One GC-MS run. Title = the file name without folder and extension, Typ "GC-MS". The header
// vector holds the total ion current of every scan in order. False when the file could not be
// opened or a failure ended the import (the scans appended before stay, unless the user
// cancelled: then the library is emptied).
bool ImportJc(CBib& bib, const std::string& path);

// One spectrum per file, named by its path; Title "CosCalib Import", Typ "MS".
bool ImportCosCalib(CBib& bib, const std::vector<std::string>& files);

// One spectrum per file; Title "MassLib Import", Typ "MS".
bool ImportMassLib(CBib& bib, const std::vector<std::string>& files);

// Every ".cop" file of the folder of anyFileInFolder, in the order the file system lists them
// ("Directory wrong!" when the folder does not exist). The log gets "Generating new BIB from
// COPs in directory", "init BIB add %s" for the first file and "add %s" for the others.
bool ImportMassLibFolder(CBib& bib, const std::string& anyFileInFolder, CSession& session);

}  // namespace kiv
