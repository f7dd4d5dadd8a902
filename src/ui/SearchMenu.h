#pragma once
// The commands of the search menus: parameters, the reference CDM data set, similarity searches, hitlists and structure descriptors.
#include "ui/CommandTable.h"

namespace kiv {

void AddSearchMenuCommands(CommandList& commands);

}  // namespace kiv
