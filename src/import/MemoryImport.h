#pragma once
// Importers that build a library in memory from the text output of other programs: JC exports
// of GC-MS runs (one scan per spectrum, the run's chromatogram in the header vector), CosCalib
// peak lists and MassLib page files (".cop"). Each empties the library first (its read side is
// closed and everything reset), then appends one record per spectrum; the library can afterwards
// be written with the library writer. The readers are declared beside their sources and
// included here, so that one include brings the whole family.
#include <string>

#include "import/JcImport.h"
#include "import/PeakListImport.h"
#include "library/Bib.h"

namespace kiv {

// Closes the library's read side, resets it and makes it an empty in-memory library with the
// given title and type.
void StartMemoryLibrary(CBib& bib, const std::string& title, const std::string& typ);

}  // namespace kiv
