#pragma once
// The reader of tab-separated intensity tables: one spectrum per column.
// It writes into the library being written (which it does not close); the text importer calls it.
#include <string>

#include "import/ImportOutcome.h"
#include "library/Bib.h"

namespace kiv {

ImportOutcome ImportTabTable(CBib& bib, const std::string& path);

}  // namespace kiv
