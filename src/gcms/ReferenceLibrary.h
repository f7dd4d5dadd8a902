#pragma once
// The reference library that a GC-MS run is compared with: pure compounds, or characteristic
// spectra taken from runs.
#include "library/Bib.h"

namespace kiv {

// True when the reference library is open (on disk or in memory) and holds records; otherwise
// reports "No Reference BIB opened!" or "Not enough spectra in Reference BIB!".
bool CheckReferenceLibrary(const CBib& reference);

}  // namespace kiv
