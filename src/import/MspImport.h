#pragma once
// MSP libraries into new libraries: the import itself, the plain operation that scripts and the
// batch run call (paths in, outcome out), and the interactive "Import MSP" command. Every record
// read is written as one block at once; damaged records are logged with file and line and
// skipped, and the log ends with "%d records imported, %d skipped".
#include <string>
#include <vector>

#include "base/MessageLog.h"
#include "import/TextImport.h"
#include "library/Bib.h"

namespace kiv {

class CPrompter;
class CSession;

struct MspImportOutcome {
    bool completed = false;  // false when a file could not be opened, a block not written or the user stopped
    int imported = 0;
    int skipped = 0;
    int filesOpened = 0;
    bool stopped = false;  // a stop request ended the import
};

// Reads the files in list order into the library being written (started with
// CBib::NewLibrary), numbering the blocks 1, 2, 3, ...; it does not close the library. A file
// that cannot be opened is reported and the next one read. Progress is reported while the files
// are read; a stop request ends the import after the current record.
MspImportOutcome ImportMspFiles(CBib& bib, const std::vector<std::string>& files, MessageLog& log);

// A new library at bibFile (".ssd"; a stale index is deleted) with the title given and the type
// typ, filled from the files and closed. The log gets the messages and the closing count line.
MspImportOutcome ImportMspLibrary(CBib& bib, const std::vector<std::string>& files, const std::string& bibFile,
                                  const std::string& title, const std::string& typ, MessageLog& log);

// The script operation: one MSP file into a new library of type "MS" at bibFile, titled after
// the MSP file.
MspImportOutcome ImportMsp(const std::string& mspPath, const std::string& bibFile, MessageLog& log);

// The import step of the batch task "Import MSP": ImportMspLibrary into writePath, with the log
// lines given to the run-time error reporter (the batch run's standard error) when a record was
// skipped or a file failed. The batch task (LibraryImport) chooses title and path.
ImportOutcome RunMspLibraryImport(CBib& bib, const std::string& typ, const std::string& title,
                                  const std::vector<std::string>& inputFiles, const std::string& writePath);

// The interactive command: asks for the MSP file, builds the library beside it (same name,
// ".ssd"), logs the messages and the count line to the session and opens the new library on its
// first block.
MspImportOutcome ImportMspCommand(CBib& bib, CPrompter& prompter, CSession& session);

}  // namespace kiv
