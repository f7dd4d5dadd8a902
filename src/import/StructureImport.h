#pragma once
// Structures into libraries: "Add Structures to BIB" attaches the k-th structure of an SD file
// to the k-th block of an existing library and writes the result as a new library. (The
// structure-only library built straight from SD files is format 20 of the text importer.)
#include <string>

#include "library/Bib.h"

namespace kiv {

class CPrompter;
class CSession;

enum AddStructuresOption : int {
    kNewIds = 1,  // number the blocks 1, 2, 3, ... in the output
    kKeepIds = 2,  // keep the library's compound IDs
    kCheckIds = 3,  // offered to users; behaves as kKeepIds (no matching by ID is defined)
};

// Reads the library at bibPath block by block and writes each block with the next structure of
// sdPath into the library at outputPath (asked for through the library's prompter when empty).
// Returns the number of blocks written; when the SD file runs out first, the output ends after
// the last structure.
int AddStructures(CBib& bib, const std::string& bibPath, const std::string& sdPath, const std::string& outputPath,
                  int option);

// The interactive command: asks for the option, the library and the SD file, then runs
// AddStructures and reports to the session.
void AddStructuresCommand(CBib& bib, CPrompter& prompter, CSession& session);

}  // namespace kiv
