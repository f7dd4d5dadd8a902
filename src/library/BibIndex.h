#pragma once
// The index file (".ssi") of a library: one entry of six 32-bit file offsets per block (X, N,
// S, M, I, Z; an absent record gets the offset where it would start), in block order, no header.
// It can always be rebuilt from the data file, which the rebuild also repairs: it fills in every
// X record's block length and the offsets of the previous and next block, and writes the true
// block count into the header.
#include <cstdint>
#include <string>

#include "base/BinaryIO.h"
#include "library/BibRecord.h"
#include "matrix/MatrixI.h"

namespace kiv {

constexpr int kIndexEntryLength = 24;

// Reads the header record at the start of an open data file into header. Reports a wrong type
// letter or a length that does not fit the file. headerEnd receives the offset of the first
// block. scratch is a reusable buffer.
bool ReadHeaderFromFile(CBinaryFile& file, CBibHeader& header, int64_t& headerEnd, std::string& scratch);

// Loads the index file into table (6 rows, one column per entry). False when the file cannot be
// opened (nothing is reported: the caller decides whether to rebuild).
bool LoadBibIndex(const std::string& indexPath, CMatrixI& table);

// Rebuilds stem + ".ssi" from stem + ".ssd" (stem: the library path without extension), patching
// the X records and the header's block count in place. header receives the header read from the
// data file, with the corrected count. A damaged block stops the rebuild with its message; the
// blocks before it stay indexed and counted, so the library stays usable up to the damage.
// Returns true when the whole data file was indexed.
bool RebuildBibIndex(const std::string& stem, CBibHeader& header);

}  // namespace kiv
