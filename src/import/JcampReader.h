#pragma once
// The JCAMP-DX reader: single spectra, compound files ("##BLOCKS"), GC-MS runs written as pages
// or as one table per scan, and structures given as atom / bond / coordinate lists.
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
// It reads either a whole file into the library being written, or, as one job of a file read by
// several threads, a range of lines into a list of spectra and messages that the thread writing
// the library hands on later (see JcampParallel.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Reporter.h"
#include "import/JcampTable.h"
#include "import/LineReader.h"
#include "library/Bib.h"

namespace kiv {

class CSession;
struct CJcampLine;

// Spectra between two progress reports within a file.
constexpr int kJcampProgressSpectra = 1000;

// Reports the progress of a list of files, at position of file fileIndex (of size bytes); true
// when a stop was requested.
bool ReportJcampProgress(const std::string& path, size_t fileIndex, size_t fileCount, int64_t position, int64_t size);

// A message of a job, kept to be reported in order.
struct CJcampMessage {
    ErrorKind kind = ErrorKind::RunTime;
    std::string text;
    int64_t line = 0;  // counted from the job's first line; 0 when the message names no line
    size_t spectraBefore = 0;  // the spectra the job had finished when it was given
};

// What a job hands on: its spectra (ids count the spectra the job began, from 1) and messages.
// An output is used for job after job: the records beyond count keep their storage for the
// next job's spectra.
struct CJcampOutput {
    void Clear();
    void Add(const CBibRecord& record);

    std::vector<CBibRecord> spectra;  // spectra[0 .. count)
    size_t count = 0;
    std::vector<CJcampMessage> messages;
    int spectraBegun = 0;
    int64_t lines = 0;  // lines read
    bool open = false;  // the range ended inside a compound file: the next range belongs to it
};

// Counters that run over the whole list of files.
struct CJcampCounts {
    int spectraBegun = 0;  // the ids given so far
    int written = 0;
    bool stopped = false;
    bool writeFailed = false;
};

enum class JcampReaderState { BeforeSpectrum, Labels, PointTable, IgnoredTable, Skipping, AtomList, BondList, Raster };

class CJcampReader {
public:
    // Writes into the library being written (which it does not close); log, when given, gets one
    // line per file with the number of spectra it gave.
    CJcampReader(CBib& bib, CSession* log) : bib_(&bib), log_(log), record_(bib.record) {}
    // A job: spectra and messages go to output.
    explicit CJcampReader(CJcampOutput& output) : output_(&output), record_(ownRecord_) {}
    CJcampReader(const CJcampReader&) = delete;
    CJcampReader& operator=(const CJcampReader&) = delete;

    // Reads one file; false when it cannot be opened. fileIndex and fileCount place it in the
    // progress of the whole list.
    bool ReadFile(const std::string& path, size_t fileIndex, size_t fileCount);
    // A stop request or a failed write ended the import.
    bool Ended() const { return stopped_ || writeFailed_; }
    // The counters over the list, also for files read by other readers in between.
    CJcampCounts Counts() const { return {spectrumCounter_, written_, stopped_, writeFailed_}; }
    void SetCounts(const CJcampCounts& counts);

    // A job's range: from begin (the start of a "##TITLE=" line, or of the file) to end. A spectrum
    // still open at the end is finished there as at the next title, unless the range ends inside
    // a compound file (output.open; ReadOn then goes on up to a later end).
    bool ReadRange(const std::string& path, int64_t begin, int64_t end);
    void ReadOn(int64_t end);

private:
    void ReadLines();
    void EndRange();
    // A line that is no point of the table being read (ReadLines hands those to the table).
    void HandleLine(std::string_view line, bool isLabel);
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
    void ReportHere(const std::string& message, int64_t line);
    void ReportProgressOfList();

    CBib* bib_ = nullptr;
    CSession* log_ = nullptr;
    CJcampOutput* output_ = nullptr;
    CBibRecord ownRecord_;
    CBibRecord& record_;
    int spectrumCounter_ = 0;
    int written_ = 0;
    bool stopped_ = false;
    bool writeFailed_ = false;

    // Per file.
    CLineReader reader_;
    std::string_view line_;  // the line being handled
    std::string path_;
    int64_t rangeEnd_ = 0;
    size_t fileIndex_ = 0;
    size_t fileCount_ = 1;
    int blockCounter_ = 1;
    JcampReaderState state_ = JcampReaderState::BeforeSpectrum;
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

}  // namespace kiv
