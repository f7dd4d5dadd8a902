// JC text exports of GC-MS runs: one "##TITLE" label group per scan ("##TITLE= name scan time"),
// "##NPOINTS", "##XYDATA" and one "mass intensity" line per point.
#include "import/JcImport.h"

#include <algorithm>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "import/LineReader.h"
#include "import/MemoryImport.h"
#include "import/SpectrumFinish.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

constexpr size_t kJcLineLimit = 256;
constexpr int kProgressEvery = 20;

// States: 0 expecting a label line (a scan's "##TITLE" starts it), 1 waiting for "##NPOINTS",
// 2 reading the points.
class CJcReader {
public:
    CJcReader(CBib& bib, CLineReader& reader) : bib_(bib), reader_(reader) {}

    enum class Result { Done, Failed, Cancelled };
    Result Read();
    const std::vector<double>& Tics() const { return tics_; }

private:
    bool Fail(const std::string& message)
    {
        ReportRunTimeError(message);
        return false;
    }
    void StartScan(std::string_view line);
    bool ReadNpoints(std::string_view line);
    bool ReadPoint(std::string_view line);
    void FinishScan();

    CBib& bib_;
    CLineReader& reader_;
    CBibRecord& record_ = bib_.record;
    std::vector<double> tics_;  // the run's chromatogram, one total ion current per scan
    int state_ = 0;
    int pointCount_ = 0;
    int pointIndex_ = 0;
    int scans_ = 0;
};

CJcReader::Result CJcReader::Read()
{
    std::string_view raw;
    while (reader_.ReadLine(raw, kJcLineLimit)) {
        const std::string_view line = WithoutLineEnd(raw);
        if (state_ == 0) {
            if (line.substr(0, 2) != "##") {
                Fail("Illegal header " + std::string(line));
                return Result::Failed;
            }
            if (line.substr(0, 7) != "##TITLE") continue;
            StartScan(line);
            if (scans_ % kProgressEvery == 0) {
                const int64_t size = std::max<int64_t>(reader_.FileSize(), 1);
                if (ReportProgress(static_cast<int>(reader_.Position() * 100 / size), "loading JC ...") > 1) {
                    return Result::Cancelled;
                }
            }
        } else if (state_ == 1) {
            if (line.substr(0, 9) == "##NPOINTS" && !ReadNpoints(line)) return Result::Failed;
        } else if (line.substr(0, 8) != "##XYDATA" && !ReadPoint(line)) {
            return Result::Failed;
        }
    }
    // A scan cut short by the end of the file keeps its zero-filled points.
    if (state_ == 2) FinishScan();
    return Result::Done;
}

void CJcReader::StartScan(std::string_view line)
{
    // "##TITLE= name scan time": the name, the scan number and the retention time.
    size_t pos = 7;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '=')) ++pos;
    const size_t nameStart = pos;
    while (pos < line.size() && !IsWhite(line[pos])) ++pos;
    ++scans_;
    StartName(record_.name);
    record_.name.name.assign(line.substr(nameStart, pos - nameStart));
    StartSpectrum(record_.spectrum, 2, 0);
    record_.id = scans_;
    int32_t scan = 0;
    double time = 0;
    if (ScanInt32(line, pos, scan)) ScanDouble(line, pos, time);
    record_.name.originNumber = scan;
    record_.spectrum.retentionTime = time;
    state_ = 1;
}

bool CJcReader::ReadNpoints(std::string_view line)
{
    const int32_t count = ParseInt(Columns(line, 10));
    if (line.size() < 11 || count < 0 || count > 65535) return Fail("Illegal npoints " + std::string(line));
    pointCount_ = count;
    pointIndex_ = 0;
    record_.spectrum.peaks.Alloc(2, count);
    record_.spectrum.count = static_cast<uint16_t>(count);
    state_ = 2;
    if (count == 0) FinishScan();
    return true;
}

bool CJcReader::ReadPoint(std::string_view line)
{
    size_t pos = 0;
    double mass = 0, intensity = 0;
    ScanDouble(line, pos, mass);
    SkipSeparators(line, pos);
    ScanDouble(line, pos, intensity);
    if (!(mass > 0 && intensity > 0 && mass < 1e300 && intensity < 1e300)) return Fail("Illegal point " + std::string(line));
    ++pointIndex_;
    record_.spectrum.peaks.Set(1, pointIndex_, mass);
    record_.spectrum.peaks.Set(2, pointIndex_, intensity);
    if (pointIndex_ >= pointCount_) FinishScan();
    return true;
}

void CJcReader::FinishScan()
{
    FinishSpectrum(record_.spectrum);
    bib_.AppendRecord();
    tics_.push_back(record_.spectrum.tic);
    state_ = 0;
}

}  // namespace

bool ImportJc(CBib& bib, const std::string& path)
{
    std::string title(FileNamePart(path));
    const size_t dot = title.rfind('.');
    if (dot != std::string::npos) title.erase(dot);
    StartMemoryLibrary(bib, title, "GC-MS");

    CLineReader reader;
    if (!reader.Open(path)) {
        ReportRunTimeError(Format("Open JC file %s failed", path.c_str()));
        return false;
    }
    CJcReader jc(bib, reader);
    const CJcReader::Result result = jc.Read();
    if (result == CJcReader::Result::Cancelled) {
        StartMemoryLibrary(bib, title, "GC-MS");  // a cancelled import leaves the library empty
        return false;
    }
    CMatrix chromatogram(1, static_cast<int>(jc.Tics().size()));
    for (size_t i = 0; i < jc.Tics().size(); ++i) chromatogram.Set(1, static_cast<int>(i) + 1, jc.Tics()[i]);
    bib.header.vector = std::move(chromatogram);
    return result == CJcReader::Result::Done;
}

}  // namespace kiv
