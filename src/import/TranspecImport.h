#pragma once
// The TRANSPEC reader: records of "/"-keyword lines, one spectrum each.
// It writes into the library being written (which it does not close); the text importer calls it.
#include <string>

#include "import/ImportOutcome.h"
#include "library/Bib.h"

namespace kiv {

ImportOutcome ImportTranspec(CBib& bib, const std::string& path);

}  // namespace kiv
