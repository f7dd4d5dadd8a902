#pragma once
// The commands of the GC-MS menus: loading runs, chromatogram traces, baseline, characteristic spectra, subtraction, target and forward search, retention indices.
#include "ui/CommandTable.h"

namespace kiv {

void AddRunMenuCommands(CommandList& commands);

}  // namespace kiv
