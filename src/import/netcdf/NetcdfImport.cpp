#include "import/netcdf/NetcdfImport.h"

#include <netcdf.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "import/MemoryImport.h"
#include "import/SpectrumFinish.h"
#include "import/netcdf/NetcdfHeaderCheck.h"

namespace kiv {

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr int kProgressEvery = 50;
// Compressed (netCDF-4) files may hold far more values than bytes, the classic formats never do.
constexpr int64_t kCompressedValuesPerByte = 1000;
// The mass widths of the spectra stored: 4 bytes, 2 decimals.
constexpr int kMassBytes = 4;
constexpr int kMassDecimals = 2;

// One open netCDF file; every failure is reported with the file name.
class CNetcdfFile {
public:
    explicit CNetcdfFile(const std::string& path) : path_(path) {}
    ~CNetcdfFile()
    {
        if (open_) nc_close(id_);
    }
    CNetcdfFile(const CNetcdfFile&) = delete;
    CNetcdfFile& operator=(const CNetcdfFile&) = delete;

    bool Open();
    // The 1-D variable's id and length; false (reported) when missing or not 1-D.
    bool Variable(const char* name, int& id, int64_t& length);
    bool ReadAll(int id, const char* name, int64_t length, std::vector<double>& values);
    bool ReadRange(int id, const char* name, int64_t start, int64_t count, std::vector<double>& values);
    bool Fail(const std::string& message) const;

private:
    std::string path_;
    int id_ = 0;
    bool open_ = false;
    int64_t valueLimit_ = 0;  // the most values one variable can plausibly hold
};

bool CNetcdfFile::Fail(const std::string& message) const
{
    ReportRunTimeError(Format("netCDF file %s: %s", path_.c_str(), message.c_str()));
    return false;
}

bool CNetcdfFile::Open()
{
    if (const std::string fault = ClassicHeaderFault(path_); !fault.empty()) return Fail(fault);
    const int status = nc_open(path_.c_str(), NC_NOWRITE, &id_);
    if (status != NC_NOERR) return Fail(nc_strerror(status));
    open_ = true;
    int format = 0;
    nc_inq_format(id_, &format);
    std::error_code error;
    const auto size = std::filesystem::file_size(path_, error);
    const int64_t bytes = error ? 0 : static_cast<int64_t>(size);
    const bool classic = format == NC_FORMAT_CLASSIC || format == NC_FORMAT_64BIT_OFFSET || format == NC_FORMAT_CDF5;
    valueLimit_ = classic ? bytes : bytes * kCompressedValuesPerByte;
    return true;
}

bool CNetcdfFile::Variable(const char* name, int& id, int64_t& length)
{
    if (nc_inq_varid(id_, name, &id) != NC_NOERR) return Fail(Format("variable %s missing", name));
    int dims = 0;
    int dim = 0;
    size_t dimLength = 0;
    if (nc_inq_varndims(id_, id, &dims) != NC_NOERR || dims != 1 || nc_inq_vardimid(id_, id, &dim) != NC_NOERR
        || nc_inq_dimlen(id_, dim, &dimLength) != NC_NOERR) {
        return Fail(Format("variable %s is not a list of values", name));
    }
    // Compared unsigned: a length of 2^63 or more in a 64-bit header would turn negative.
    if (dimLength > static_cast<uint64_t>(valueLimit_)) {
        return Fail(Format("variable %s claims %llu values, more than the file holds", name,
                           static_cast<unsigned long long>(dimLength)));
    }
    length = static_cast<int64_t>(dimLength);
    return true;
}

bool CNetcdfFile::ReadRange(int id, const char* name, int64_t start, int64_t count, std::vector<double>& values)
{
    values.resize(static_cast<size_t>(count));
    if (count == 0) return true;
    const size_t first = static_cast<size_t>(start), n = static_cast<size_t>(count);
    const int status = nc_get_vara_double(id_, id, &first, &n, values.data());
    if (status != NC_NOERR) return Fail(Format("variable %s: %s", name, nc_strerror(status)));
    return true;
}

bool CNetcdfFile::ReadAll(int id, const char* name, int64_t length, std::vector<double>& values)
{
    return ReadRange(id, name, 0, length, values);
}

// The per-scan lists of a run and the ids of the per-point variables.
struct RunLayout {
    std::vector<double> times;  // seconds
    std::vector<double> firstPoint;
    std::vector<double> pointCount;
    int massId = 0;
    int intensityId = 0;
    int64_t points = 0;
};

bool ReadLayout(CNetcdfFile& file, RunLayout& run)
{
    const char* scanVariables[] = {"scan_acquisition_time", "scan_index", "point_count"};
    std::vector<double>* scanLists[] = {&run.times, &run.firstPoint, &run.pointCount};
    int64_t scans = -1;
    for (size_t k = 0; k < 3; ++k) {
        int id = 0;
        int64_t length = 0;
        if (!file.Variable(scanVariables[k], id, length)) return false;
        if (scans >= 0 && length != scans) {
            return file.Fail(Format("%s has %lld values, %s %lld", scanVariables[k], static_cast<long long>(length),
                                    scanVariables[0], static_cast<long long>(scans)));
        }
        scans = length;
        if (!file.ReadAll(id, scanVariables[k], length, *scanLists[k])) return false;
    }
    int64_t massPoints = 0;
    if (!file.Variable("mass_values", run.massId, massPoints)) return false;
    if (!file.Variable("intensity_values", run.intensityId, run.points)) return false;
    if (massPoints != run.points) {
        return file.Fail(Format("mass_values has %lld values, intensity_values %lld", static_cast<long long>(massPoints),
                                static_cast<long long>(run.points)));
    }
    return true;
}

// True when scan i's points lie within the point lists and fit into one spectrum.
bool CheckScan(const CNetcdfFile& file, const RunLayout& run, size_t i)
{
    const double first = run.firstPoint[i], count = run.pointCount[i];
    if (!(first >= 0 && count >= 0 && first + count <= static_cast<double>(run.points))) {
        return file.Fail(Format("scan %zu: points %.0f..%.0f run past the %lld points of the file", i + 1, first,
                                first + count, static_cast<long long>(run.points)));
    }
    if (count > UINT16_MAX) return file.Fail(Format("scan %zu: %.0f points, more than a spectrum holds", i + 1, count));
    return true;
}

// Scan i as the library's current record (points without positive, finite values are left out).
bool ReadScan(CNetcdfFile& file, const RunLayout& run, size_t i, CBibRecord& record, const std::string& title)
{
    std::vector<double> masses, intensities;
    const int64_t first = static_cast<int64_t>(run.firstPoint[i]), count = static_cast<int64_t>(run.pointCount[i]);
    if (!file.ReadRange(run.massId, "mass_values", first, count, masses)
        || !file.ReadRange(run.intensityId, "intensity_values", first, count, intensities)) {
        return false;
    }
    StartName(record.name);
    record.name.name = title;
    record.name.origin = title;
    record.name.originNumber = static_cast<int32_t>(i + 1);
    record.id = static_cast<int32_t>(i + 1);
    CMassSpectrum& spectrum = record.spectrum;
    StartSpectrum(spectrum, kMassBytes, kMassDecimals);
    spectrum.peaks.Alloc(2, static_cast<int>(count));
    int kept = 0;
    for (size_t k = 0; k < masses.size(); ++k) {
        const double m = masses[k], v = intensities[k];
        if (!(m > 0 && v > 0 && std::isfinite(m) && std::isfinite(v))) continue;
        ++kept;
        spectrum.peaks.Set(1, kept, m);
        spectrum.peaks.Set(2, kept, v);
    }
    spectrum.peaks.Resize(2, kept);
    spectrum.count = static_cast<uint16_t>(kept);
    FinishSpectrum(spectrum);
    const double seconds = run.times[i];
    spectrum.retentionTime = std::isfinite(seconds) && seconds > 0 ? seconds / kSecondsPerMinute : 0.0;
    return true;
}

}  // namespace

bool ImportNetcdf(CBib& bib, const std::string& path)
{
    std::string title(FileNamePart(path));
    const size_t dot = title.rfind('.');
    if (dot != std::string::npos) title.erase(dot);
    StartMemoryLibrary(bib, title, "GC-MS");
    CNetcdfFile file(path);
    RunLayout run;
    if (!file.Open() || !ReadLayout(file, run)) return false;
    std::vector<double> tics;
    bool completed = true;
    const size_t scans = run.times.size();
    for (size_t i = 0; i < scans; ++i) {
        if (i % kProgressEvery == 0
            && ReportProgress(static_cast<int>(i * 100 / scans), "loading netCDF ...") > 1) {
            StartMemoryLibrary(bib, title, "GC-MS");  // a cancelled import leaves the library empty
            return false;
        }
        if (!CheckScan(file, run, i) || !ReadScan(file, run, i, bib.record, title)) {
            completed = false;
            break;
        }
        bib.AppendRecord();
        tics.push_back(bib.record.spectrum.tic);
    }
    CMatrix chromatogram(1, static_cast<int>(tics.size()));
    for (size_t i = 0; i < tics.size(); ++i) chromatogram.Set(1, static_cast<int>(i) + 1, tics[i]);
    bib.header.vector = std::move(chromatogram);
    return completed;
}

}  // namespace kiv
