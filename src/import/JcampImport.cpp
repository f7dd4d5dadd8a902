// JCAMP-DX import: labelled text ("##LABEL=value" lines) with peak tables, written by spectral
// libraries, instruments (GC-MS runs as one page per scan) and by our own export.
//
// The reader is a small state machine over the lines of a file:
//   0   before the first spectrum: only "##TITLE" and "##NAME=" start one;
//   1   inside a spectrum's labels;
//   2   right after "##NPOINTS": the table label or the first point line is expected;
//   3   inside the point table;
//   11, 12, 13  collecting the lines of "##ATOMLIST", "##BONDLIST", "##XY_RASTER".
// Each finished spectrum is written as one block at once.
//
// Published files differ from the textbook layout in ways the reader has to take in its stride:
// "(XY..XY)" tables carry several pairs per line, labels such as "##FIRSTY=" stand between
// "##NPOINTS" and the table, and a table may be shorter than its "##NPOINTS" (the next label
// then ends it and the missing points stay zero).
#include <cmath>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Reporter.h"
#include "import/JcampStructure.h"
#include "import/LineReader.h"
#include "import/SpectrumFinish.h"
#include "import/TextImport.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

constexpr double kTiny = 1e-12;
// A spectrum's peak count is a 16-bit field of the library format.
constexpr int kMaxPoints = 65535;
// Structure lists longer than a molecule can hold are cut there.
constexpr size_t kMaxListLines = 65535;

enum State : int {
    kBeforeSpectrum = 0,
    kLabels = 1,
    kAfterNpoints = 2,
    kPointTable = 3,
    kAtomList = 11,
    kBondList = 12,
    kRaster = 13,
};

bool StartsWith(std::string_view line, std::string_view label) { return line.substr(0, label.size()) == label; }

// The value of a label: the rest of the line after the label and its "=".
std::string_view ValueAfter(std::string_view line, size_t labelLength)
{
    return labelLength + 1 <= line.size() ? line.substr(labelLength + 1) : std::string_view();
}

// CAS registry numbers are written with dashes ("50-00-0"); the library keeps the digits.
int32_t CasNumber(std::string_view value)
{
    std::string digits;
    digits.reserve(value.size());
    for (char c : value) {
        if (c != '-') digits.push_back(c);
    }
    return ParseInt(digits);
}

class CJcampReader {
public:
    explicit CJcampReader(CBib& bib) : bib_(bib) {}

    // False when a failure ended the import.
    bool ReadFile(const std::string& path);
    int BlocksWritten() const { return written_; }

private:
    bool HandleLine(std::string_view line);
    bool HandleLabel(std::string_view line);
    void StartSpectrumAt(std::string_view name);
    bool StartOrNest(std::string_view line, size_t namePosition);
    bool ReadNpoints(std::string_view line);
    bool ReadPoints(std::string_view line);
    void EndTable();
    bool Finish();
    bool Fail(const std::string& message);

    CBib& bib_;
    CBibRecord& record_ = bib_.record;
    int spectrumCounter_ = 0;
    int written_ = 0;

    // Per file.
    int blockCounter_ = 1;
    int state_ = kBeforeSpectrum;
    bool pageMode_ = false;
    int pointCount_ = 0;
    int pointIndex_ = 0;
    double xFactor_ = 0;
    double yFactor_ = 0;
    std::vector<std::string> atomLines_;
    std::vector<std::string> bondLines_;
    std::vector<std::string> rasterLines_;
};

bool CJcampReader::Fail(const std::string& message)
{
    ReportRunTimeError(message);
    return false;
}

bool CJcampReader::ReadFile(const std::string& path)
{
    CLineReader reader;
    if (!reader.Open(path)) return Fail("Error opening " + path);
    pointIndex_ = 0;
    pageMode_ = false;
    blockCounter_ = 1;
    state_ = kBeforeSpectrum;
    std::string_view line;
    while (reader.ReadLine(line, kTextImportLineLimit)) {
        if (!HandleLine(WithoutLineEnd(line))) return false;
    }
    // A spectrum still open when the file ends is finished as if "##END" had followed.
    if (state_ != kBeforeSpectrum) {
        if (!Finish()) return false;
        state_ = kBeforeSpectrum;
    }
    return true;
}

bool CJcampReader::HandleLine(std::string_view line)
{
    const bool isLabel = line.size() >= 2 && line[0] == '#' && line[1] == '#';
    switch (state_) {
    case kPointTable:
        if (!isLabel) return ReadPoints(line);
        // A label before the table is complete ends it; the missing points stay zero.
        EndTable();
        return HandleLabel(line);
    case kAfterNpoints:
        if (StartsWith(line, "##PEAK TABLE") || StartsWith(line, "##XYDATA") || StartsWith(line, "##DATA TABLE")) {
            state_ = kPointTable;
            return true;
        }
        // Labels such as "##FIRSTY=" may stand between "##NPOINTS" and the table.
        if (isLabel) return HandleLabel(line);
        if (!ReadPoints(line)) return false;
        if (state_ == kAfterNpoints) state_ = kPointTable;
        return true;
    case kAtomList:
    case kBondList:
    case kRaster: {
        if (isLabel) {
            state_ = kLabels;
            return HandleLabel(line);
        }
        if (StartsWith(line, "$$")) return true;
        std::vector<std::string>& list =
            state_ == kAtomList ? atomLines_ : state_ == kBondList ? bondLines_ : rasterLines_;
        if (list.size() < kMaxListLines) list.emplace_back(line);
        return true;
    }
    case kBeforeSpectrum:
        if (StartsWith(line, "##TITLE")) return StartOrNest(line, 8);
        if (StartsWith(line, "##NAME=")) return StartOrNest(line, 7);
        return true;
    default:
        return HandleLabel(line);
    }
}

void CJcampReader::StartSpectrumAt(std::string_view name)
{
    ++spectrumCounter_;
    blockCounter_ = 1;
    StartName(record_.name);
    record_.name.name.assign(name);
    StartSpectrum(record_.spectrum, 2, 0);
    record_.id = spectrumCounter_;
    state_ = kLabels;
}

bool CJcampReader::StartOrNest(std::string_view line, size_t namePosition)
{
    // Inside a compound file the titles of the nested blocks only count down the blocks that
    // still belong to the current spectrum.
    const int before = blockCounter_--;
    if (before > 1) return true;
    if (state_ != kBeforeSpectrum && !Finish()) return false;
    StartSpectrumAt(namePosition < line.size() ? line.substr(namePosition) : std::string_view());
    return true;
}

bool CJcampReader::HandleLabel(std::string_view line)
{
    // The labels differ in their first letter after "##" between groups; testing that letter
    // first spares a library import most of the comparisons. Within a group every label is
    // tested, as one line may match several.
    CBibName& name = record_.name;
    CMassSpectrum& spectrum = record_.spectrum;
    switch (line.size() > 2 ? line[2] : '\0') {
    case 'T':
        if (StartsWith(line, "##TITLE")) return StartOrNest(line, 8);
        break;
    case 'N':
        if (StartsWith(line, "##NAME=")) return StartOrNest(line, 7);
        if (StartsWith(line, "##NPOINTS") && !ReadNpoints(line)) return false;
        break;
    case 'B':
        if (StartsWith(line, "##BLOCKS")) blockCounter_ = ParseInt(ValueAfter(line, 8));
        if (StartsWith(line, "##BONDLIST")) {
            bondLines_.clear();
            state_ = kBondList;
        }
        break;
    case 'C':
        if (StartsWith(line, "##CAS NAME")) {
            name.origin = name.name;
            name.name.assign(ValueAfter(line, 10));
        }
        if (StartsWith(line, "##CAS REGISTRY NO")) name.cas = CasNumber(ValueAfter(line, 17));
        if (StartsWith(line, "##CASREGISTRYNO")) name.cas = CasNumber(ValueAfter(line, 15));
        // The equals sign is part of this label; the number follows it directly.
        if (StartsWith(line, "##CAS=")) name.cas = CasNumber(line.substr(6));
        break;
    case '$':
        if (StartsWith(line, "##$RETENTION INDEX")) spectrum.retentionIndex = ParseReal(ValueAfter(line, 18));
        break;
    case 'R':
        if (StartsWith(line, "##RETENTIONINDEX")) spectrum.retentionIndex = ParseReal(ValueAfter(line, 16));
        break;
    case 'M':
        if (StartsWith(line, "##MOLFORM")) name.formula.assign(ValueAfter(line, 9));
        if (StartsWith(line, "##MW=")) name.mw = ParseReal(line.substr(5));
        break;
    case 'S':
        if (StartsWith(line, "##SCAN")) name.originNumber = ParseInt(ValueAfter(line, 6));
        break;
    case 'A':
        if (StartsWith(line, "##ATOMLIST")) {
            atomLines_.clear();
            state_ = kAtomList;
        }
        break;
    case 'X':
        if (StartsWith(line, "##XY_RASTER")) {
            rasterLines_.clear();
            state_ = kRaster;
        }
        if (StartsWith(line, "##XFACTOR")) xFactor_ = ParseReal(ValueAfter(line, 9));
        break;
    case 'Y':
        if (StartsWith(line, "##YFACTOR")) yFactor_ = ParseReal(ValueAfter(line, 9));
        break;
    case 'P':
        if (StartsWith(line, "##PAGE= T=")) {
            const double time = ParseReal(line.substr(10));
            // A new page first finishes the page before it; its time belongs to the new page.
            if (pageMode_) {
                if (!Finish()) return false;
                StartSpectrumAt({});
            }
            pageMode_ = true;
            record_.spectrum.retentionTime = time;
        }
        break;
    case 'E':
        if (StartsWith(line, "##END") && blockCounter_ <= 1) {
            if (!Finish()) return false;
            state_ = kBeforeSpectrum;
        }
        break;
    default:
        break;
    }
    return true;
}

bool CJcampReader::ReadNpoints(std::string_view line)
{
    if (line.size() < 11) return Fail(Format("Illegal npoints %.*s", static_cast<int>(line.size()), line.data()));
    const int32_t count = ParseInt(ValueAfter(line, 9));
    if (count < 0 || count > kMaxPoints) {
        return Fail(Format("Illegal npoints %.*s", static_cast<int>(line.size()), line.data()));
    }
    CMassSpectrum& spectrum = record_.spectrum;
    spectrum.peaks.Alloc(2, count);
    spectrum.count = static_cast<uint16_t>(count);
    pointCount_ = count;
    pointIndex_ = 0;
    state_ = kAfterNpoints;
    if (count == 0) EndTable();  // nothing to read
    return true;
}

void CJcampReader::EndTable()
{
    state_ = kLabels;
    xFactor_ = 0;
    yFactor_ = 0;
}

bool CJcampReader::ReadPoints(std::string_view line)
{
    // Every pair of the line is read, up to the point count: the first must be a valid point,
    // the line ends at the first pair that is missing or not positive.
    CMatrix& peaks = record_.spectrum.peaks;
    size_t pos = 0;
    for (bool first = true;; first = false) {
        double x = 0, y = 0;
        SkipSeparators(line, pos);
        const bool haveX = ScanDouble(line, pos, x);
        SkipSeparators(line, pos);
        const bool haveY = haveX && ScanDouble(line, pos, y);
        const bool valid = haveY && x > kTiny && y > kTiny && std::isfinite(x) && std::isfinite(y);
        if (!valid) {
            if (first) return Fail(Format("Illegal point %.*s", static_cast<int>(line.size()), line.data()));
            return true;
        }
        ++pointIndex_;
        peaks.Set(1, pointIndex_, xFactor_ > kTiny ? x * xFactor_ : x);
        peaks.Set(2, pointIndex_, yFactor_ > kTiny ? y * yFactor_ : y);
        if (pointIndex_ >= pointCount_) {
            EndTable();
            return true;
        }
    }
}

bool CJcampReader::Finish()
{
    if (!atomLines_.empty()) BuildJcampMolecule(atomLines_, bondLines_, rasterLines_, record_.molecule);
    // The lists belong to this spectrum only.
    atomLines_.clear();
    bondLines_.clear();
    rasterLines_.clear();
    FinishSpectrum(record_.spectrum);
    const bool ok = bib_.WriteBlock();
    if (ok) ++written_;
    record_.molecule.Clear();
    return ok;
}

}  // namespace

ImportOutcome ImportJcampFiles(CBib& bib, const std::vector<std::string>& files)
{
    CJcampReader reader(bib);
    ImportOutcome outcome;
    outcome.completed = true;
    for (const std::string& path : files) {
        if (!reader.ReadFile(path)) {
            outcome.completed = false;
            break;
        }
    }
    outcome.blocksWritten = reader.BlocksWritten();
    return outcome;
}

}  // namespace kiv
