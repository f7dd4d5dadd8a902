// JCAMP-DX import: labelled text ("##LABEL=value" lines) with point tables, written by spectral
// libraries, instruments (GC-MS runs as one page or one table per scan), web databases (compound
// files of linked blocks) and by our own export.
//
// Published files differ from the textbook layout in ways the reader has to take in its stride:
// labels such as "##FIRSTY=" stand between "##NPOINTS" and the table, tables are shorter or
// longer than their "##NPOINTS" (the table decides, a message says so), GC-MS exports write
// thousands of tables one after another under one title (one spectrum each), and infrared or
// NMR files arrive in the same folders as mass spectra (skipped with a message).
#include "import/JcampReader.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "import/JcampLabel.h"
#include "import/JcampStructure.h"
#include "import/ReadPosition.h"
#include "import/SpectrumFinish.h"
#include "import/TextImport.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

// Structure lists longer than a molecule can hold are cut there.
constexpr size_t kMaxListLines = 65535;

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

// Keeps the reports of a job's thread with the job's messages.
class CJcampMessageCollector : public CReporter {
public:
    explicit CJcampMessageCollector(CJcampOutput& output) : output_(output) {}
    void Report(ErrorKind kind, const std::string& message) override
    {
        output_.messages.push_back({kind, message, 0, output_.count});
    }

private:
    CJcampOutput& output_;
};

}  // namespace

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
    state_ = JcampReaderState::BeforeSpectrum;
    ntupleScaling_ = CJcampScaling();
    const int countBefore = spectrumCounter_;
    const int writtenBefore = written_;
    ReadLines();
    // A spectrum still open when the file ends is finished as if "##END" had followed.
    if (!Ended() && state_ != JcampReaderState::BeforeSpectrum) Finish();
    reader_.Close();
    if (spectrumCounter_ == countBefore) ReportRunTimeError(Format("No spectrum found in %s", path.c_str()));
    if (log_) log_->Log(Format("%s: %d spectra", path.c_str(), written_ - writtenBefore));
    return true;
}

void CJcampOutput::Clear()
{
    count = 0;
    messages.clear();
    spectraBegun = 0;
    lines = 0;
    open = false;
}

void CJcampOutput::Add(const CBibRecord& record)
{
    if (count < spectra.size()) {
        spectra[count] = record;
    } else {
        spectra.push_back(record);
    }
    ++count;
}

void CJcampReader::SetCounts(const CJcampCounts& counts)
{
    spectrumCounter_ = counts.spectraBegun;
    written_ = counts.written;
    stopped_ = counts.stopped;
    writeFailed_ = counts.writeFailed;
}

bool CJcampReader::ReadRange(const std::string& path, int64_t begin, int64_t end)
{
    path_ = path;
    if (!reader_.OpenRange(path, begin, end)) return false;
    ReadOn(end);
    return true;
}

void CJcampReader::ReadOn(int64_t end)
{
    rangeEnd_ = end;
    reader_.ExtendTo(end);
    // Deeper layers (spectrum finishing, structures) report too: their messages join the job's.
    CJcampMessageCollector collector(*output_);
    CThreadReporterScope scope(collector);
    ReadLines();
    EndRange();
}

void CJcampReader::ReadLines()
{
    std::string_view line;
    while (!Ended() && reader_.ReadLine(line, kTextImportLineLimit)) {
        line_ = WithoutLineEnd(line);
        const bool isLabel = IsLabelLine(line_);
        // The lines of point tables, most lines of a file, go to the table without the dispatch.
        if (state_ == JcampReaderState::PointTable && !isLabel) {
            ReadTableLine(line_);
        } else {
            HandleLine(line_, isLabel);
        }
    }
}

void CJcampReader::EndRange()
{
    output_->lines = reader_.LineNumber();
    // The next range starts with a title; inside a compound file that title may be a nested
    // block's, so only the end of the file or of a block outside one finishes the spectrum.
    const bool atFileEnd = rangeEnd_ >= reader_.FileSize();
    output_->open = blockCounter_ > 1 && !atFileEnd;
    if (!output_->open && state_ != JcampReaderState::BeforeSpectrum) Finish();
    output_->spectraBegun = spectrumCounter_;
}

void CJcampReader::ReportHere(const std::string& message, int64_t line)
{
    if (output_) {
        output_->messages.push_back({ErrorKind::RunTime, message, line, output_->count});
    } else {
        ReportAtLine(message, path_, line);
    }
}

void CJcampReader::ReportProgressOfList()
{
    if (ReportJcampProgress(path_, fileIndex_, fileCount_, reader_.Position(), reader_.FileSize())) stopped_ = true;
}

bool ReportJcampProgress(const std::string& path, size_t fileIndex, size_t fileCount, int64_t position, int64_t size)
{
    const double inFile = size > 0 ? static_cast<double>(position) / static_cast<double>(size) : 0.0;
    const int percent = static_cast<int>((static_cast<double>(fileIndex) + inFile) * 100.0 / static_cast<double>(fileCount));
    return ReportProgress(percent, Format("importing %s", path.c_str())) > 1;
}

void CJcampReader::HandleLine(std::string_view line, bool isLabel)
{
    switch (state_) {
    case JcampReaderState::PointTable:
        // A label ends the table.
        EndTable();
        break;
    case JcampReaderState::IgnoredTable:
        if (!isLabel) return;
        state_ = JcampReaderState::Labels;
        break;
    case JcampReaderState::AtomList:
    case JcampReaderState::BondList:
    case JcampReaderState::Raster: {
        if (isLabel) {
            state_ = JcampReaderState::Labels;
            break;
        }
        if (line.substr(0, 2) == "$$") return;
        std::vector<std::string>& list = state_ == JcampReaderState::AtomList ? atomLines_
                                         : state_ == JcampReaderState::BondList ? bondLines_
                                                                           : rasterLines_;
        if (list.size() < kMaxListLines) list.emplace_back(line);
        return;
    }
    case JcampReaderState::Labels:
        // A point line right after "##NPOINTS" opens a table without a table label.
        if (!isLabel && awaitingTable_ && !TrimBlanks(WithoutJcampComment(line)).empty()) {
            StartTable(JcampTableForm::Pairs);
            return ReadTableLine(line);
        }
        break;
    case JcampReaderState::BeforeSpectrum:
    case JcampReaderState::Skipping:
        break;
    }
    if (isLabel) HandleLabel(ParseJcampLine(line));
}

void CJcampReader::HandleLabel(const CJcampLine& label)
{
    switch (state_) {
    case JcampReaderState::BeforeSpectrum:
        if (label.label == JcampLabel::Title || label.label == JcampLabel::Name) StartOrNest(label.value);
        return;
    case JcampReaderState::Skipping:
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
            state_ = JcampReaderState::BeforeSpectrum;
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
        state_ = JcampReaderState::AtomList;
        break;
    case JcampLabel::BondList:
        bondLines_.clear();
        state_ = JcampReaderState::BondList;
        break;
    case JcampLabel::XyRaster:
        rasterLines_.clear();
        state_ = JcampReaderState::Raster;
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
            state_ = JcampReaderState::BeforeSpectrum;
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
            state_ = JcampReaderState::IgnoredTable;
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
        if (state_ != JcampReaderState::Skipping) state_ = JcampReaderState::Labels;
        return;
    }
    if (state_ != JcampReaderState::BeforeSpectrum) Finish();
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
    state_ = JcampReaderState::Labels;
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
    state_ = JcampReaderState::PointTable;
}

void CJcampReader::ReadTableLine(std::string_view line)
{
    const TableLineResult result = table_.ReadLine(line);
    if (result == TableLineResult::Read) return;
    const char* what = result == TableLineResult::CheckFailed ? "Y check failed %.*s" : "Illegal point %.*s";
    ReportHere(Format(what, static_cast<int>(line.size()), line.data()), reader_.LineNumber());
    discard_ = true;
    state_ = JcampReaderState::Skipping;
}

void CJcampReader::EndTable()
{
    state_ = JcampReaderState::Labels;
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
    std::copy(masses.begin(), masses.end(), spectrum.peaks.Row(1).begin());
    std::copy(intensities.begin(), intensities.end(), spectrum.peaks.Row(2).begin());
    spectrum.count = static_cast<uint16_t>(n);
    hasMassTable_ = true;
    expectedPoints_ = -1;
    // Factors and abscissae belong to their table only.
    scaling_ = CJcampScaling();
}

void CJcampReader::Finish()
{
    if (state_ == JcampReaderState::PointTable) EndTable();
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
    if (output_) {
        output_->Add(record_);
        return;
    }
    if (!bib_->WriteBlock()) {
        writeFailed_ = true;
        return;
    }
    ++written_;
    if (written_ % kJcampProgressSpectra == 0) ReportProgressOfList();
}

}  // namespace kiv
