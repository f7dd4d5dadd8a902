// JCAMP-DX import: labelled text ("##LABEL=value" lines) with point tables, written by spectral
// libraries, instruments (GC-MS runs as one page or one table per scan), web databases (compound
// files of linked blocks) and by our own export.
//
// The reader is a small state machine over the lines of a file:
//   before a spectrum   only "##TITLE" and "##NAME=" start one;
//   labels              inside a spectrum's labels;
//   point table         the lines of a table, up to the next label;
//   ignored table       the table of a block that holds no mass spectrum (infrared, NMR ...);
//   skipping            after an illegal point: up to the next spectrum start or "##END";
//   lists               the lines of "##ATOMLIST", "##BONDLIST", "##XY_RASTER".
// Each finished spectrum is written as one block at once, so one bad spectrum costs only itself.
//
// Published files differ from the textbook layout in ways the reader has to take in its stride:
// labels such as "##FIRSTY=" stand between "##NPOINTS" and the table, tables are shorter or
// longer than their "##NPOINTS" (the table decides, a message says so), GC-MS exports write
// thousands of tables one after another under one title (one spectrum each), and infrared or
// NMR files arrive in the same folders as mass spectra (skipped with a message).
#include "import/JcampImport.h"

#include <cmath>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "import/JcampLabel.h"
#include "import/JcampStructure.h"
#include "import/JcampTable.h"
#include "import/LineReader.h"
#include "import/ReadPosition.h"
#include "import/SpectrumFinish.h"
#include "import/TextImport.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// Structure lists longer than a molecule can hold are cut there.
constexpr size_t kMaxListLines = 65535;
// Progress is reported after this many spectra as well as per file.
constexpr int kProgressSpectra = 1000;

enum class ReaderState { BeforeSpectrum, Labels, PointTable, IgnoredTable, Skipping, AtomList, BondList, Raster };

bool IsLabelLine(std::string_view line)
{
    size_t pos = 0;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    return line.size() >= pos + 2 && line[pos] == '#' && line[pos + 1] == '#';
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word)
{
    for (size_t i = 0; i + word.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < word.size() && (text[i + k] & ~0x20) == word[k]) ++k;
        if (k == word.size()) return true;
    }
    return false;
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

// The time of a GC-MS page: "##PAGE= T=1.5", "##PAGE=RETENTION TIME=1.5" or "##PAGE=1.5".
double PageTime(std::string_view value)
{
    const size_t equals = value.rfind('=');
    return ParseReal(equals == std::string_view::npos ? value : value.substr(equals + 1));
}

// The first numbers of a list value such as "##FACTOR= 0.1, 1.0, 1.0".
void ListNumbers(std::string_view value, double& first, double& second)
{
    size_t pos = 0;
    SkipSeparators(value, pos);
    if (ScanDouble(value, pos, first)) {
        SkipSeparators(value, pos);
        ScanDouble(value, pos, second);
    }
}

class CJcampReader {
public:
    CJcampReader(CBib& bib, CSession* log) : bib_(bib), log_(log) {}

    // Reads one file; false when it cannot be opened. fileIndex and fileCount place it in the
    // progress of the whole list.
    bool ReadFile(const std::string& path, size_t fileIndex, size_t fileCount);
    int BlocksWritten() const { return written_; }
    // A stop request or a failed write ended the import.
    bool Ended() const { return stopped_ || writeFailed_; }
    bool Stopped() const { return stopped_; }

private:
    void HandleLine(std::string_view line);
    void HandleLabel(const CJcampLine& label);
    void HandleSpectrumLabel(const CJcampLine& label);
    void HandleTableLabel(const CJcampLine& label);
    void HandleSkippedLabel(const CJcampLine& label);
    void StartOrNest(std::string_view name);
    void BeginSpectrum(std::string_view name);
    void SplitAfterTable();
    void SetDataType(std::string_view type);
    void ReadNpoints(std::string_view value);
    void StartTable(JcampTableForm form);
    void ReadTableLine(std::string_view line);
    void EndTable();
    void Finish();
    void WriteSpectrum();
    void ClearSpectrumState();
    void ReportHere(const std::string& message, int64_t line) { ReportAtLine(message, path_, line); }
    void ReportProgressOfList();

    CBib& bib_;
    CSession* log_;
    CBibRecord& record_ = bib_.record;
    int spectrumCounter_ = 0;
    int written_ = 0;
    bool stopped_ = false;
    bool writeFailed_ = false;

    // Per file.
    CLineReader reader_;
    std::string_view line_;  // the line being handled
    std::string path_;
    size_t fileIndex_ = 0;
    size_t fileCount_ = 1;
    int blockCounter_ = 1;
    ReaderState state_ = ReaderState::BeforeSpectrum;
    bool pageMode_ = false;
    CJcampScaling ntupleScaling_;

    // Per spectrum.
    std::string title_;
    bool compound_ = false;  // "##BLOCKS" seen: nested blocks belong to this spectrum
    bool blockIsNonMass_ = false;  // the current (nested) block holds another kind of spectrum
    std::string nonMassType_;
    int64_t nonMassLine_ = 0;
    bool hasMassTable_ = false;
    bool discard_ = false;
    CJcampScaling scaling_;
    int32_t expectedPoints_ = -1;  // announced by "##NPOINTS", -1 when not
    int64_t npointsLine_ = 0;
    bool awaitingTable_ = false;  // "##NPOINTS" read, no table yet
    CJcampTable table_;
    std::vector<std::string> atomLines_;
    std::vector<std::string> bondLines_;
    std::vector<std::string> rasterLines_;
};

bool CJcampReader::ReadFile(const std::string& path, size_t fileIndex, size_t fileCount)
{
    path_ = path;
    fileIndex_ = fileIndex;
    fileCount_ = fileCount;
    if (!reader_.Open(path)) {
        ReportRunTimeError("Error opening " + path);
        return false;
    }
    pageMode_ = false;
    blockCounter_ = 1;
    state_ = ReaderState::BeforeSpectrum;
    ntupleScaling_ = CJcampScaling();
    const int countBefore = spectrumCounter_;
    const int writtenBefore = written_;
    std::string_view line;
    while (!Ended() && reader_.ReadLine(line, kTextImportLineLimit)) HandleLine(WithoutLineEnd(line));
    // A spectrum still open when the file ends is finished as if "##END" had followed.
    if (!Ended() && state_ != ReaderState::BeforeSpectrum) Finish();
    reader_.Close();
    if (spectrumCounter_ == countBefore) ReportRunTimeError(Format("No spectrum found in %s", path.c_str()));
    if (log_) log_->Log(Format("%s: %d spectra", path.c_str(), written_ - writtenBefore));
    return true;
}

void CJcampReader::ReportProgressOfList()
{
    const int64_t size = reader_.FileSize();
    const double inFile = size > 0 ? static_cast<double>(reader_.Position()) / static_cast<double>(size) : 0.0;
    const int percent = static_cast<int>((static_cast<double>(fileIndex_) + inFile) * 100.0 / static_cast<double>(fileCount_));
    if (ReportProgress(percent, Format("importing %s", path_.c_str())) > 1) stopped_ = true;
}

void CJcampReader::HandleLine(std::string_view line)
{
    line_ = line;
    const bool isLabel = IsLabelLine(line);
    switch (state_) {
    case ReaderState::PointTable:
        if (!isLabel) return ReadTableLine(line);
        EndTable();
        break;
    case ReaderState::IgnoredTable:
        if (!isLabel) return;
        state_ = ReaderState::Labels;
        break;
    case ReaderState::AtomList:
    case ReaderState::BondList:
    case ReaderState::Raster: {
        if (isLabel) {
            state_ = ReaderState::Labels;
            break;
        }
        if (line.substr(0, 2) == "$$") return;
        std::vector<std::string>& list = state_ == ReaderState::AtomList ? atomLines_
                                         : state_ == ReaderState::BondList ? bondLines_
                                                                           : rasterLines_;
        if (list.size() < kMaxListLines) list.emplace_back(line);
        return;
    }
    case ReaderState::Labels:
        // A point line right after "##NPOINTS" opens a table without a table label.
        if (!isLabel && awaitingTable_ && !TrimBlanks(WithoutJcampComment(line)).empty()) {
            StartTable(JcampTableForm::Pairs);
            return ReadTableLine(line);
        }
        break;
    case ReaderState::BeforeSpectrum:
    case ReaderState::Skipping:
        break;
    }
    if (isLabel) HandleLabel(ParseJcampLine(line));
}

void CJcampReader::HandleLabel(const CJcampLine& label)
{
    switch (state_) {
    case ReaderState::BeforeSpectrum:
        if (label.label == JcampLabel::Title || label.label == JcampLabel::Name) StartOrNest(label.value);
        return;
    case ReaderState::Skipping:
        return HandleSkippedLabel(label);
    default:
        return HandleSpectrumLabel(label);
    }
}

void CJcampReader::HandleSkippedLabel(const CJcampLine& label)
{
    // After an illegal point only what ends the bad spectrum counts.
    switch (label.label) {
    case JcampLabel::Title:
    case JcampLabel::Name:
        StartOrNest(label.value);
        break;
    case JcampLabel::Page:
        if (pageMode_) {
            Finish();
            BeginSpectrum({});
            record_.spectrum.retentionTime = PageTime(label.value);
        }
        break;
    case JcampLabel::End:
        if (blockCounter_ <= 1) {
            Finish();
            state_ = ReaderState::BeforeSpectrum;
        }
        break;
    default:
        break;
    }
}

void CJcampReader::HandleSpectrumLabel(const CJcampLine& label)
{
    CBibName& name = record_.name;
    CMassSpectrum& spectrum = record_.spectrum;
    const std::string_view value = label.value;
    switch (label.label) {
    case JcampLabel::Title:
    case JcampLabel::Name:
        StartOrNest(value);
        break;
    case JcampLabel::Blocks:
        blockCounter_ = ParseInt(value);
        compound_ = true;
        break;
    case JcampLabel::CasName:
        name.origin = name.name;
        name.name.assign(value);
        break;
    case JcampLabel::RetentionIndex:
        spectrum.retentionIndex = ParseReal(value);
        break;
    case JcampLabel::CasNumber:
        name.cas = CasNumber(value);
        break;
    case JcampLabel::MolForm:
        name.formula.assign(value);
        break;
    case JcampLabel::Mw:
        name.mw = ParseReal(value);
        break;
    case JcampLabel::Scan:
        name.originNumber = ParseInt(value);
        break;
    case JcampLabel::AtomList:
        atomLines_.clear();
        state_ = ReaderState::AtomList;
        break;
    case JcampLabel::BondList:
        bondLines_.clear();
        state_ = ReaderState::BondList;
        break;
    case JcampLabel::XyRaster:
        rasterLines_.clear();
        state_ = ReaderState::Raster;
        break;
    case JcampLabel::DataType:
        SetDataType(value);
        break;
    case JcampLabel::NTuples:
        if (!ContainsIgnoringCase(value, "MASS")) SetDataType(value);
        break;
    case JcampLabel::End:
        if (blockCounter_ <= 1) {
            Finish();
            state_ = ReaderState::BeforeSpectrum;
        }
        break;
    default:
        HandleTableLabel(label);
        break;
    }
}

void CJcampReader::HandleTableLabel(const CJcampLine& label)
{
    const std::string_view value = label.value;
    switch (label.label) {
    case JcampLabel::Npoints:
        if (blockIsNonMass_) break;
        SplitAfterTable();
        ReadNpoints(value);
        break;
    case JcampLabel::Table:
        if (blockIsNonMass_) {
            state_ = ReaderState::IgnoredTable;
            break;
        }
        SplitAfterTable();
        StartTable(TableFormOf(value));
        break;
    case JcampLabel::RetentionTime:
        SplitAfterTable();
        record_.spectrum.retentionTime = ParseReal(value);
        break;
    case JcampLabel::XFactor:
        scaling_.xFactor = ParseReal(value);
        break;
    case JcampLabel::YFactor:
        scaling_.yFactor = ParseReal(value);
        break;
    case JcampLabel::FirstX:
        scaling_.firstX = ParseReal(value);
        break;
    case JcampLabel::LastX:
        scaling_.lastX = ParseReal(value);
        break;
    case JcampLabel::DeltaX:
        scaling_.deltaX = ParseReal(value);
        break;
    case JcampLabel::Factor:
        ListNumbers(value, ntupleScaling_.xFactor, ntupleScaling_.yFactor);
        break;
    case JcampLabel::First: {
        double unused = 0;
        ListNumbers(value, ntupleScaling_.firstX, unused);
        break;
    }
    case JcampLabel::Last: {
        double unused = 0;
        ListNumbers(value, ntupleScaling_.lastX, unused);
        break;
    }
    case JcampLabel::Page: {
        if (blockIsNonMass_) break;
        const double time = PageTime(value);
        // A new page first finishes the page before it; its time belongs to the new page.
        if (pageMode_) {
            Finish();
            BeginSpectrum({});
        }
        pageMode_ = true;
        record_.spectrum.retentionTime = time;
        break;
    }
    default:
        break;
    }
}

void CJcampReader::StartOrNest(std::string_view name)
{
    // Inside a compound file the titles of the nested blocks only count down the blocks that
    // still belong to the current spectrum; each nested block says anew what it holds.
    const int before = blockCounter_--;
    if (before > 1) {
        blockIsNonMass_ = false;
        if (state_ != ReaderState::Skipping) state_ = ReaderState::Labels;
        return;
    }
    if (state_ != ReaderState::BeforeSpectrum) Finish();
    pageMode_ = false;
    ntupleScaling_ = CJcampScaling();
    BeginSpectrum(name);
}

void CJcampReader::BeginSpectrum(std::string_view name)
{
    ++spectrumCounter_;
    blockCounter_ = 1;
    StartName(record_.name);
    record_.name.name.assign(name);
    StartSpectrum(record_.spectrum, 2, 0);
    record_.id = spectrumCounter_;
    title_.assign(name);
    ClearSpectrumState();
    state_ = ReaderState::Labels;
}

void CJcampReader::ClearSpectrumState()
{
    compound_ = false;
    blockIsNonMass_ = false;
    nonMassType_.clear();
    hasMassTable_ = false;
    discard_ = false;
    scaling_ = CJcampScaling();
    expectedPoints_ = -1;
    awaitingTable_ = false;
}

void CJcampReader::SplitAfterTable()
{
    // Several tables one after another in one block, without pages, are the scans of a GC-MS
    // run: each table is a spectrum of its own under the same title and compound data. In a
    // compound file a later table of the spectrum replaces the one before instead.
    if (!hasMassTable_ || compound_ || pageMode_) return;
    const CBibName name = record_.name;
    const std::string title = title_;
    Finish();
    BeginSpectrum(title);
    record_.name = name;
}

void CJcampReader::SetDataType(std::string_view type)
{
    // A link block only ties the blocks of a compound file together.
    if (ContainsIgnoringCase(type, "MASS") || ContainsIgnoringCase(type, "LINK")) {
        blockIsNonMass_ = false;
        return;
    }
    blockIsNonMass_ = true;
    if (nonMassType_.empty()) {
        nonMassType_.assign(type);
        nonMassLine_ = reader_.LineNumber();
    }
}

void CJcampReader::ReadNpoints(std::string_view value)
{
    // An unreadable count is no count: the table then decides alone.
    expectedPoints_ = -1;
    size_t pos = 0;
    int32_t count = 0;
    if (ScanInt32(value, pos, count)) {
        if (count < 0) {
            ReportHere(Format("Illegal npoints %.*s", static_cast<int>(line_.size()), line_.data()), reader_.LineNumber());
        } else {
            expectedPoints_ = count;
        }
    }
    npointsLine_ = reader_.LineNumber();
    awaitingTable_ = true;
}

void CJcampReader::StartTable(JcampTableForm form)
{
    CJcampScaling scaling = scaling_;
    if (scaling.xFactor <= 0) scaling.xFactor = ntupleScaling_.xFactor;
    if (scaling.yFactor <= 0) scaling.yFactor = ntupleScaling_.yFactor;
    if (!std::isfinite(scaling.firstX)) scaling.firstX = ntupleScaling_.firstX;
    if (!std::isfinite(scaling.lastX)) scaling.lastX = ntupleScaling_.lastX;
    if (!awaitingTable_) {
        expectedPoints_ = -1;
        npointsLine_ = reader_.LineNumber();
    }
    table_.Start(form, scaling, expectedPoints_);
    awaitingTable_ = false;
    state_ = ReaderState::PointTable;
}

void CJcampReader::ReadTableLine(std::string_view line)
{
    const TableLineResult result = table_.ReadLine(line);
    if (result == TableLineResult::Read) return;
    const char* what = result == TableLineResult::CheckFailed ? "Y check failed %.*s" : "Illegal point %.*s";
    ReportHere(Format(what, static_cast<int>(line.size()), line.data()), reader_.LineNumber());
    discard_ = true;
    state_ = ReaderState::Skipping;
}

void CJcampReader::EndTable()
{
    state_ = ReaderState::Labels;
    if (expectedPoints_ >= 0 && table_.PointsRead() != expectedPoints_) {
        ReportHere(Format("NPOINTS %d, %lld points read", expectedPoints_, static_cast<long long>(table_.PointsRead())),
                   npointsLine_);
    }
    if (table_.PeaksDropped() > 0) {
        ReportHere(Format("%lld peaks beyond %d dropped", static_cast<long long>(table_.PeaksDropped()), CJcampTable::kMaxPeaks),
                   npointsLine_);
    }
    const std::vector<double>& masses = table_.Masses();
    const std::vector<double>& intensities = table_.Intensities();
    const int n = static_cast<int>(masses.size());
    CMassSpectrum& spectrum = record_.spectrum;
    spectrum.peaks.Alloc(2, n);
    for (int j = 1; j <= n; ++j) {
        spectrum.peaks.Set(1, j, masses[static_cast<size_t>(j - 1)]);
        spectrum.peaks.Set(2, j, intensities[static_cast<size_t>(j - 1)]);
    }
    spectrum.count = static_cast<uint16_t>(n);
    hasMassTable_ = true;
    expectedPoints_ = -1;
    // Factors and abscissae belong to their table only.
    scaling_ = CJcampScaling();
}

void CJcampReader::Finish()
{
    if (state_ == ReaderState::PointTable) EndTable();
    if (awaitingTable_ && expectedPoints_ > 0 && !discard_) {
        ReportHere(Format("NPOINTS %d, 0 points read", expectedPoints_), npointsLine_);
    }
    if (discard_) {
        // Reported where the problem was found.
    } else if (!hasMassTable_ && !nonMassType_.empty()) {
        ReportHere(Format("%s skipped: data type %s is no mass spectrum", title_.c_str(), nonMassType_.c_str()), nonMassLine_);
    } else {
        WriteSpectrum();
    }
    atomLines_.clear();
    bondLines_.clear();
    rasterLines_.clear();
    record_.molecule.Clear();
    ClearSpectrumState();
}

void CJcampReader::WriteSpectrum()
{
    if (!atomLines_.empty()) BuildJcampMolecule(atomLines_, bondLines_, rasterLines_, record_.molecule);
    FinishSpectrum(record_.spectrum);
    if (!bib_.WriteBlock()) {
        writeFailed_ = true;
        return;
    }
    ++written_;
    if (written_ % kProgressSpectra == 0) ReportProgressOfList();
}

}  // namespace

ImportOutcome ImportJcampFiles(CBib& bib, const std::vector<std::string>& files, CSession* log)
{
    CJcampReader reader(bib, log);
    ImportOutcome outcome;
    outcome.completed = true;
    for (size_t k = 0; k < files.size() && !reader.Ended(); ++k) {
        if (ReportProgress(static_cast<int>(k * 100 / files.size()), Format("importing %s", files[k].c_str())) > 1) {
            outcome.stopped = true;
            break;
        }
        if (reader.ReadFile(files[k], k, files.size())) {
            ++outcome.filesOpened;
        } else {
            outcome.completed = false;
        }
    }
    outcome.stopped = outcome.stopped || reader.Stopped();
    if (!outcome.stopped) ReportProgress(100, "import done");
    outcome.completed = outcome.completed && !reader.Ended() && !outcome.stopped;
    outcome.blocksWritten = reader.BlocksWritten();
    return outcome;
}

}  // namespace kiv
