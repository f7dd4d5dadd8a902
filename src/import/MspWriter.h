#pragma once
// MSP writer, the mirror of the MSP reader: every block of a library as one MSP record that the
// reader (and the common open readers of the format) read back with the same name, formula, MW,
// CAS number, retention value and peaks. A record:
//   Name: ...             (a block without a name is written as "Block <number>")
//   Formula: ...          (the name record's formula, else the structure's)
//   MW: / NominalMW: / ExactMass: / CAS#: / NIST#: / Origin: / RI: or RT: / Comments: / TIC:
//                         (each only when the block has it)
//   Num Peaks: n
//   one "mass intensity" line per peak: masses with the spectrum's decimals, intensities in
//   the scale of the source (the base peak at its absolute intensity, else 100)
//   a blank line
// Lines end in CR LF; text fields are written as UTF-8 (MspEncoding). The match quality, the
// structure, the infrared spectrum and the supplementary data have no
// place in MSP and are not written; a spectrum in vector form is written as its peaks.
#include <string>

#include "base/TextFile.h"
#include "library/Bib.h"

namespace kiv {

class CPrompter;
class CSession;

// One record; blockNumber only names a block without a name.
void WriteMspRecord(CTextWriter& out, const CBibRecord& record, int blockNumber);

struct MspExportOutcome {
    bool written = false;  // false when no file was chosen or it cannot be created
    int records = 0;
    int unreadable = 0;  // damaged blocks left out
};

// The script operation: the blocks of the library's selection list in list order, or every
// block when the list is empty, into the MSP file at path (asked for through the library's
// prompter when empty). Unreadable blocks are left out.
MspExportOutcome ExportMsp(CBib& bib, const std::string& path);

// The "Export MSP" command: asks for the file when path is empty, exports and reports
// "Exported %d spectra to %s" (and the blocks left out) in the log, status "Export done".
MspExportOutcome ExportMspCommand(CBib& bib, CPrompter& prompter, CSession& session, const std::string& path = {});

}  // namespace kiv
