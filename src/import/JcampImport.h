#pragma once
// The JCAMP-DX reader: single spectra, compound files ("##BLOCKS"), GC-MS runs written as pages
// and structures given as atom / bond / coordinate lists, from every file of the list.
// It writes into the library being written (which it does not close); the text importer calls it.
#include <cstdint>
#include <string>
#include <vector>

#include "import/ImportOutcome.h"
#include "import/JcampParallel.h"
#include "library/Bib.h"

namespace kiv {

class CSession;

// How files are shared out over threads; the defaults are the importer's own.
struct CJcampThreading {
    int64_t parallelBytes = kJcampParallelBytes;  // files from this size on are read in parallel
    int64_t jobBytes = kJcampJobBytes;
    int threads = 0;  // 0: every core
};

// log, when given, receives one line per file with the number of spectra it gave.
ImportOutcome ImportJcampFiles(CBib& bib, const std::vector<std::string>& files, CSession* log,
                               const CJcampThreading& threading = {});

}  // namespace kiv
