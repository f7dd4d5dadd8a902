#include "gcms/ReferenceLibrary.h"

#include "base/Reporter.h"

namespace kiv {

bool CheckReferenceLibrary(const CBib& reference)
{
    if (reference.readState == 0 && reference.inMemory == 0) {
        ReportRunTimeError("No Reference BIB opened!");
        return false;
    }
    if (reference.header.blockCount < 1) {
        ReportRunTimeError("Not enough spectra in Reference BIB!");
        return false;
    }
    return true;
}

}  // namespace kiv
