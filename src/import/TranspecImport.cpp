// TRANSPEC records: keyword lines that begin with "/" and announce in characters 8 to 12 how
// many data lines follow them. "/IDENT " opens a spectrum, "/NAME  ", "/CASNR " and "/PEAKS "
// fill it, "/EOR   " ends the record. Peaks come in fixed 7-character fields, five pairs a line.
#include "import/TranspecImport.h"

#include <algorithm>
#include <string>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Reporter.h"
#include "import/LineReader.h"
#include "import/ReadPosition.h"
#include "import/SpectrumFinish.h"
#include "import/TextImport.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

int32_t CasDigits(std::string_view text)
{
    std::string digits;
    for (char c : text) {
        if (c != '-') digits.push_back(c);
    }
    return ParseInt(digits);
}

enum class Section { None, Ident, Name, Peaks, Cas };

}  // namespace

ImportOutcome ImportTranspec(CBib& bib, const std::string& path)
{
    ImportOutcome outcome;
    CLineReader reader;
    if (!reader.Open(path)) {
        ReportRunTimeError("Error opening " + path);
        return outcome;
    }
    outcome.filesOpened = 1;
    CBibRecord& record = bib.record;
    int spectrumCounter = 0;
    int pending = 0;  // data lines still to come for the last keyword
    Section section = Section::None;
    int pointCount = 0;
    int pointIndex = 0;
    std::string_view raw;
    while (reader.ReadLine(raw, kTextImportLineLimit)) {
        const std::string_view line = WithoutLineEnd(raw);
        if (pending > 0) {
            --pending;
            switch (section) {
            case Section::Ident: record.id = ParseInt(TrimBlanks(line)); break;
            case Section::Name: record.name.name.assign(TrimBlanks(line)); break;
            case Section::Cas: record.name.cas = CasDigits(line); break;
            case Section::Peaks:
                for (size_t field = 0; field < 70 && pointIndex < pointCount; field += 14) {
                    if (field >= line.size()) break;
                    ++pointIndex;
                    record.spectrum.peaks.Set(1, pointIndex, ParseReal(Columns(line, field, 7)));
                    record.spectrum.peaks.Set(2, pointIndex, ParseReal(Columns(line, field + 7, 7)));
                }
                break;
            case Section::None: break;
            }
            continue;
        }
        if (line.empty() || line[0] != '/') {
            ReportAtLine(Format("Error in TRANSPEC %.*s", static_cast<int>(line.size()), line.data()), path,
                         reader.LineNumber());
            return outcome;
        }
        const std::string_view keyword = line.substr(0, 7);
        pending = std::max(0, ParseInt(Columns(line, 7, 5)));
        section = Section::None;
        if (keyword == "/IDENT ") {
            ++spectrumCounter;
            StartName(record.name);
            record.name.name.assign(Columns(line, 8));
            StartSpectrum(record.spectrum, 4, 1);
            record.id = spectrumCounter;
            section = Section::Ident;
        } else if (keyword == "/NAME  ") {
            section = Section::Name;
        } else if (keyword == "/PEAKS ") {
            const int32_t count = ParseInt(Columns(line, 12, 5));
            if (count < 0 || count > 65535) {
                ReportAtLine(Format("Illegal npoints %.*s", static_cast<int>(line.size()), line.data()), path,
                             reader.LineNumber());
                return outcome;
            }
            pointCount = count;
            pointIndex = 0;
            record.spectrum.peaks.Alloc(2, count);
            record.spectrum.count = static_cast<uint16_t>(count);
            section = Section::Peaks;
        } else if (keyword == "/CASNR ") {
            section = Section::Cas;
        } else if (keyword == "/EOR   ") {
            // Written as read: the library normalises TRANSPEC spectra when it is opened.
            if (!bib.WriteBlock()) return outcome;
            ++outcome.blocksWritten;
        }
    }
    outcome.completed = true;
    return outcome;
}

}  // namespace kiv
