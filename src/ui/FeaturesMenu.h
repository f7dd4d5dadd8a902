#pragma once
// The commands of the "Features" menu: definitions, feature matrices and feature files.
#include "ui/CommandTable.h"

namespace kiv {

void AddFeaturesMenuCommands(CommandList& commands);

}  // namespace kiv
