#pragma once
// The records of a library data file (".ssd"), one encoder, one decoder and one length formula
// per record type, each the mirror of the other. Every record starts with the same prefix: its
// length (prefix included), a type letter, and its offset from the start of its block's index
// record (X). A block is an X record followed by the name (N), structure (S), mass spectrum (M),
// infrared (I) and supplementary (Z) records that are present, in that order.
//
// Decoders get exactly the bytes of one record, check every count against the bytes present
// before they allocate, and report what is wrong through the run-time error reporter; a failed
// decode leaves the part empty. Encoders append to a byte buffer.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/BinaryIO.h"
#include "library/BibRecord.h"

namespace kiv {

constexpr int32_t kRecordPrefixLength = 9;
constexpr int32_t kIndexRecordLength = 49;
constexpr int kBlockParts = 5;  // N, S, M, I, Z

// The data parts of a block in their order on disk.
enum class BibPart { Name = 0, Structure = 1, Mass = 2, Infrared = 3, Sup = 4 };

struct BibPartInfo {
    char letter;
    const char* label;  // in the decoder's type message ("MS Record Typ is %c not M")
    const char* rebuildLabel;  // in the index rebuild's messages
};
const BibPartInfo& PartInfo(int part);

// The index record (X) that opens every block. Block length and the offsets of the previous and
// next block are written as 0 and filled in when the index is rebuilt.
struct BibIndexRecord {
    int32_t length = kIndexRecordLength;
    char type = 'X';
    int32_t lengths[kBlockParts] = {0, 0, 0, 0, 0};  // N, S, M, I, Z; 0 = absent
    int32_t id = 0;
    int32_t blockLength = 0;
    int32_t previous = 0;
    int32_t next = 0;
    int32_t reserved = 0;
};
// Byte offsets of the fields the rebuild patches.
constexpr int kIndexBlockLengthOffset = 33;

// Strings are a length byte and up to 255 bytes of text; longer text is cut to 254 bytes and "#"
// so that the reader can tell it was cut.
size_t BibStringLength(std::string_view text);
void WriteBibString(CByteWriter& out, std::string_view text);

// Value conversions shared by the encoders: x * scale truncated toward zero into the field, with
// values that are an integer up to rounding noise taken as that integer (so that a value read
// back as field * 0.0001 is written again as the same field).
uint32_t ScaledToUInt32(double value, double scale);
// Retention time (positive) or index (negative) in thousandths, and back.
int32_t EncodeRetention(double retentionTime, double retentionIndex);
void DecodeRetention(int32_t value, double& retentionTime, double& retentionIndex);
// Size in bytes of one value of a supplementary data type ("float32", ...), 0 when unknown.
int SupTypeSize(std::string_view type);

// Header (H).
int64_t HeaderRecordLength(const CBibHeader& header);
void WriteHeaderRecord(CByteWriter& out, const CBibHeader& header);
// data holds the whole header record (its length taken from its first word).
bool ReadHeaderRecord(CByteReader& in, CBibHeader& header);

// Index record (X).
void WriteIndexRecord(CByteWriter& out, const BibIndexRecord& x);
BibIndexRecord DecodeIndexRecord(const unsigned char* bytes);  // 49 bytes, no checks
// Reports a wrong length or type letter.
bool CheckIndexRecord(const BibIndexRecord& x);

// Name (N).
int64_t NameRecordLength(const CBibName& name);
void WriteNameRecord(CByteWriter& out, const CBibName& name, int32_t offsetInBlock);
bool ReadNameRecord(CByteReader& in, CBibName& name);

// Structure (S). Bond atom numbers take one byte while the molecule has at most 255 atoms.
int64_t StructureRecordLength(const CMolecule& molecule);
void WriteStructureRecord(CByteWriter& out, const CMolecule& molecule, int32_t offsetInBlock);
bool ReadStructureRecord(CByteReader& in, CMolecule& molecule);

// Mass spectrum (M): the vector form (mass parameter 0) or a peak list with 2-, 4- or 8-byte
// masses and the decimals in the mass parameter.
int64_t MassRecordLength(const CMassSpectrum& spectrum);
bool WriteMassRecord(CByteWriter& out, const CMassSpectrum& spectrum, int32_t offsetInBlock);
// Storage a reader keeps from record to record: the matrix of the spectrum form a record does
// not use is parked here instead of being released, so that a library mixing peak lists and
// vectors is read without allocating for every record.
struct CSpectrumSpare {
    CMatrix peaks;
    CMatrix vector;
};
bool ReadMassRecord(CByteReader& in, CMassSpectrum& spectrum, CSpectrumSpare* spare = nullptr);

// Infrared spectrum (I).
int64_t InfraredRecordLength(const CIrSpectrum& ir);
bool WriteInfraredRecord(CByteWriter& out, const CIrSpectrum& ir, int32_t offsetInBlock);
bool ReadInfraredRecord(CByteReader& in, CIrSpectrum& ir);

// Supplementary data (Z).
int64_t SupRecordLength(const CSupData& sup);
bool WriteSupRecord(CByteWriter& out, const CSupData& sup, int32_t offsetInBlock);
bool ReadSupRecord(CByteReader& in, CSupData& sup);

// Which parts of a record are written: the present ones (Z only with at least one item).
bool PartPresent(const CBibRecord& record, int part);

// Appends one whole block (X and the present records) to buffer. Each record is checked against
// its length formula; filePosition (where the block will start in the file) only serves the
// messages. False after a reported error; the buffer then holds part of the block.
bool EncodeBlock(std::string& buffer, const CBibRecord& record, int64_t filePosition);

// Decodes the records that follow an X record: body holds the bytes of all of them, laid out as
// the lengths in x say. Each record's own length and type letter are checked against x. A bad
// record is reported and its part left empty; since x says where every record starts, the
// records after it are still read. False when any record was bad. record.id is set from x.
bool DecodeBlockBody(const unsigned char* body, size_t size, const BibIndexRecord& x, CBibRecord& record,
                     CSpectrumSpare* spare = nullptr);

// Checks the record lengths of an X record: each 0 or at least a record prefix. Reports and
// returns false otherwise. blockLength receives 49 + the five lengths.
bool CheckPartLengths(const BibIndexRecord& x, int64_t& blockLength);

}  // namespace kiv
