#pragma once
// The commands of the page view: the page settings of the View menu, the matrix listings of the
// Show menu and the scatter plots of the Scatter Plot menu. They act on the document's view; a
// document without one (a script run without desktop) gets a view for the length of the command,
// so the prompts are asked and checked the same way and the data commands report "No Data!".
#include "ui/CommandTable.h"

namespace kiv {

void AddViewMenuCommands(CommandList& commands);

}  // namespace kiv
