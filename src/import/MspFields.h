#pragma once
// The header fields of an MSP record ("Key: value" lines) and the values that need more than a
// number read. Keys are matched ignoring letter case, blanks, "_" and "-", so "Num Peaks",
// "NUM PEAKS", "Retention_index" and "RETENTIONINDEX" are each one key.
#include <cstdint>
#include <string_view>

namespace kiv {

enum class MspField {
    Other,  // any key the library has no place for (instrument, ion mode, InChIKey, ...)
    Name,
    Synonym,  // further names; the library record holds one name, so they are not kept
    Formula,
    MolecularWeight,  // "MW"
    NominalWeight,  // "NominalMW"
    ExactMass,  // kept as the record's second mass value
    Cas,  // "CAS#", "CASNO", "CAS"
    NistNumber,  // "NIST#": the number of the spectrum in its origin
    Origin,
    RetentionIndex,  // "RI", "RetentionIndex", "Retention_index", "Kovats_RI"
    RetentionTime,  // "RT", "RetentionTime", "Retention_time"
    Comment,  // "Comment", "Comments"
    NumPeaks,
    Tic,  // total ion current of the source, in the scale of its intensities
};

MspField FieldOfKey(std::string_view key);

// A CAS registry number as the library keeps it: the digits without the dashes ("50-00-0" is
// 50000). The value ends at a ";" (NIST puts "CAS#: 50-00-0; NIST#: 1234" on one line).
int32_t CasNumberOf(std::string_view value);

// A retention index field: a plain number, or the Kovats form of NIST exports
// ("SemiStdNP=1234/3/19 StdNP=1230/2/8 StdPolar=1700/1/2"), of which the semi-standard
// non-polar value is taken, else the standard non-polar one; polar columns give indices of
// another scale and are not taken. 0 when there is none.
double RetentionIndexOf(std::string_view value);

// The retention index written inside a comment field, as "retention index=1234",
// "RI=1234", "Kovats RI=1234" or the Kovats forms above; 0 when there is none.
double RetentionIndexInComment(std::string_view comment);

// A retention value that the library can hold: finite and positive, else 0.
double UsableRetention(double value);

}  // namespace kiv
