#pragma once
// The selection commands of the library view. The selection list holds block numbers in the
// order the commands that use it will visit them; an empty list means every block.
#include <string>

#include "base/FileResult.h"
#include "library/Bib.h"

namespace kiv {

void SelectAllSpectra(CBib& bib);

// Reads block numbers from a matrix file (a CDM file, or a plain text matrix; values taken row
// by row) into the selection list. path empty: asked for with a file dialog. Returns Done and
// status "Selection done"; NoFileChosen and "Selection canceled" when no file was chosen;
// CannotOpen when the file cannot be read (reported).
FileResult LoadSelection(CBib& bib, const std::string& path, std::string& status);

}  // namespace kiv
