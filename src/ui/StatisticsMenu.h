#pragma once
// The four library statistics.
#include "ui/CommandTable.h"

namespace kiv {

void AddStatisticsMenuCommands(CommandList& commands);

}  // namespace kiv
