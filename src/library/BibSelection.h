#pragma once
// The selection commands of the library view. The selection list holds block numbers in the
// order the commands that use it will visit them; an empty list means every block.
#include <string>

#include "library/Bib.h"

namespace kiv {

void SelectAllSpectra(CBib& bib);

// Reads block numbers from a matrix file (a CDM file, or a plain text matrix; values taken row
// by row) into the selection list. path empty: asked for with a file dialog. Returns 0 and
// status "Selection done"; 1 and "Selection canceled" when no file was chosen; 2 when the file
// cannot be read (reported).
int LoadSelection(CBib& bib, const std::string& path, std::string& status);

}  // namespace kiv
