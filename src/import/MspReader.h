#pragma once
// MSP reader: the text libraries of electron-ionisation mass spectra written by the NIST search
// program, MoNA and MassBank, the GC-MS tools of open metabolomics software (RIKEN style) and
// the Golm database, one record after the other.
//
// A record is a group of "Key: value" lines (keys in any letter case) followed by peak lines.
// Records end at a blank line, or without one where the next record's fields begin (a "Name:"
// when the record has its name, or any field once peaks were read). Each record becomes one
// library record:
//   name, formula, MW, "NominalMW", "ExactMass" (the second mass value), CAS number ("CAS#:",
//   "CASNO:", "CAS:"), "NIST#:" (the number in the origin), "Origin:", comment ("Comments:");
//   retention index ("RI:", "RetentionIndex:", "Retention_index:", the Kovats forms, or inside
//   the comment) or retention time ("RT:", "RetentionTime:") -- the library holds one retention
//   value, and the index wins because the search uses it; synonyms are not kept (one name);
//   peaks in any intensity scale, stored in percent of the base peak (base-peak intensity and
//   TIC from the file's scale; "TIC:" when given), masses with as many decimals as the record writes (up to
//   kMspMassDecimals) in the narrowest width that holds them.
// Text fields are mapped to Latin-1 as MspEncoding describes. When "Num Peaks:" disagrees with
// the peak lines, the lines win and a message names the record. A damaged record (a peak line
// that cannot be read, no name, more peaks than a spectrum holds, a line that is neither field
// nor peaks) is reported with file and line and skipped; reading goes on with the next record.
#include <string>

#include "base/MessageLog.h"
#include "import/MspFields.h"
#include "import/MspLines.h"
#include "import/MspPeaks.h"
#include "library/BibRecord.h"

namespace kiv {

enum class MspStatus { Record, Damaged, End };

class CMspReader {
public:
    // Messages about damaged records and peak counts are appended to log.
    explicit CMspReader(MessageLog& log) : log_(log) {}

    bool Open(const std::string& path);
    // The next record into record (its id left alone). Damaged: the record was skipped and a
    // message logged; record holds nothing useful then.
    MspStatus Next(CBibRecord& record);

    int64_t Position() const { return lines_.Position(); }
    int64_t FileSize() const { return lines_.FileSize(); }

private:
    // What a record collects before it becomes a library record.
    struct Draft {
        bool open = false;
        bool named = false;
        bool sawPeaks = false;  // a peak line was read (its peaks kept or not)
        int64_t firstLine = 0;
        int64_t damageLine = 0;  // 0: not damaged
        std::string damage;
        int64_t numPeaksLine = 0;
        int32_t numPeaks = -1;  // -1: not given
        double retentionIndex = 0;
        double retentionTime = 0;
        int32_t tic = -1;  // -1: not given, the sum of the intensities
        CMspPeakList peaks;
    };

    // Returns true when the line ended the open record (it is kept for the next record).
    bool HandleLine(std::string_view line, CBibRecord& record);
    // A field line; NIST's "CAS#:" line may carry further fields after ";".
    void HandleField(MspField field, std::string_view value, CBibRecord& record);
    void ApplyField(MspField field, std::string_view value, CBibRecord& record);
    void Begin(CBibRecord& record);
    // Marks the record damaged at line (0: the line just read) unless it already is.
    void Damage(std::string_view what, int64_t line = 0);
    MspStatus Finish(CBibRecord& record);
    bool BuildSpectrum(CMassSpectrum& spectrum);

    MessageLog& log_;
    CMspLineReader lines_;
    std::string path_;
    std::string_view pending_;  // a line that began the next record
    bool havePending_ = false;
    Draft draft_;
};

}  // namespace kiv
