#pragma once
// The commands of the library menus: import, open, close, selection, export, conversion.
#include "ui/CommandTable.h"

namespace kiv {

void AddDatabaseMenuCommands(CommandList& commands);

}  // namespace kiv
