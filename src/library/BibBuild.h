#pragma once
// "Build new BIB from Directory": joins every library (".ssd") of a folder into one new library.
#include <string>

#include "base/MessageLog.h"
#include "library/Bib.h"

namespace kiv {

// anyFile names any file of the source folder (asked for when empty); outputPath the new data
// file (asked for when empty, through bib's prompter). The output takes title and type of the
// first library; at the end its index is built and bib's path names it. Libraries are taken in
// the order of their names; an existing output file in the same folder is never one of them.
// Returns Done, NoFileChosen, or CannotOpen after a reported error or a stop.
FileResult BuildBibFromDirectory(CBib& bib, const std::string& anyFile, const std::string& outputPath, MessageLog& log);

}  // namespace kiv
