#pragma once
// Reader of MDL Molfiles and SD files (connection tables in fixed columns: header block, counts
// line, atom block, bond block, "M  " property lines up to "M  END"; SD files chain such records
// with data items and "$$$$" lines).
#include <string>

#include "import/LineReader.h"
#include "chem/Molecule.h"

namespace kiv {

enum class MolfileStatus {
    Read,  // a record was read (its molecule stays empty when the record has no atoms)
    End,  // the stream holds no further record
    Damaged,  // the record was damaged: reported, molecule cleared, stream moved past the record
};

// Reads the next record of the stream into molecule (cleared first). Lines are read with the
// format's limit of 256 characters. Data items (lines from ">" to "$$$$") and a "$$$$" standing
// where a record's first line is expected are skipped. A record whose atom or bond block ends
// before the counts line promised is refused rather than filled with the lines of the next one.
MolfileStatus ReadMolfile(CLineReader& stream, CMolecule& molecule);

// Line limit of Molfiles.
constexpr size_t kMolfileLineLimit = 256;

}  // namespace kiv
