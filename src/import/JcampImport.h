#pragma once
// The JCAMP-DX reader: single spectra, compound files ("##BLOCKS"), GC-MS runs written as pages
// and structures given as atom / bond / coordinate lists, from every file of the list.
// It writes into the library being written (which it does not close); the text importer calls it.
#include <string>
#include <vector>

#include "import/ImportOutcome.h"
#include "library/Bib.h"

namespace kiv {

class CSession;

// log, when given, receives one line per file with the number of spectra it gave.
ImportOutcome ImportJcampFiles(CBib& bib, const std::vector<std::string>& files, CSession* log);

}  // namespace kiv
