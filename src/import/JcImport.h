#pragma once
// The reader of JC text exports of GC-MS runs: one scan per spectrum, into a memory library.
#include <string>

#include "library/Bib.h"

namespace kiv {

// One GC-MS run. Title = the file name without folder and extension, Typ "GC-MS". The header
// vector holds the total ion current of every scan in order. False when the file could not be
// opened or a failure ended the import (the scans appended before stay, unless the user
// cancelled: then the library is emptied).
bool ImportJc(CBib& bib, const std::string& path);

}  // namespace kiv
