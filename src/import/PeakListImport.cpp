// One-spectrum-per-file peak lists of two other programs: CosCalib calibration reports (a
// "mass, value, intensity" table after the line "inorganic/organic peaklist") and MassLib page
// files (".cop", page descriptions in which the peaks stand as "(mass intensity ...)" groups
// after the font name "Courier").
#include "import/PeakListImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Progress.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "base/TextFile.h"
#include "import/LineReader.h"
#include "import/MemoryImport.h"
#include "import/SpectrumFinish.h"
#include "import/TextScan.h"

namespace kiv {

namespace {

constexpr size_t kPeakListLineLimit = 256;
constexpr double kTiny = 1e-12;
// CosCalib reports give intensities for the nominal masses 1 to 299.
constexpr int kCosCalibColumns = 300;

void ReadCosCalibFile(CLineReader& reader, CMassSpectrum& spectrum)
{
    // Column m holds mass m; the last column (mass 0) stays unused.
    CMatrix& peaks = spectrum.peaks;
    peaks.Alloc(2, kCosCalibColumns);
    for (int m = 1; m < kCosCalibColumns; ++m) peaks.Set(1, m, m);
    spectrum.count = kCosCalibColumns;
    std::string_view line;
    bool inTable = false;
    while (reader.ReadLine(line, kPeakListLineLimit)) {
        if (!inTable) {
            inTable = line.substr(0, 26) == "inorganic/organic peaklist";
            continue;
        }
        if (!StartsWithNumber(line)) break;
        size_t pos = 0;
        int32_t mass = 0;
        double ignored = 0, intensity = 0;
        ScanInt32(line, pos, mass);
        ScanDouble(line, pos, ignored);
        ScanDouble(line, pos, intensity);
        if (mass >= 1 && mass < kCosCalibColumns && std::isfinite(intensity)) peaks.Set(2, mass, intensity);
    }
}

// Reads the peaks of a MassLib page file with the character states of its page description:
// 0 looking for "/", 1 reading a name, 2 after "/Courier" looking for "(", 3 reading a mass,
// 4 reading an intensity.
void ReadMassLibFile(std::FILE* file, std::vector<std::pair<double, double>>& peaks)
{
    constexpr size_t kMaxToken = 64;  // longer words and numbers are cut (they are junk anyway)
    int state = 0;
    std::string word;
    std::string number;
    double mass = 0;
    auto value = [&] { return ParseReal(number); };
    auto append = [&](std::string& token, char c) {
        if (token.size() < kMaxToken) token.push_back(c);
    };
    auto store = [&](double intensity) {
        if (mass > kTiny && intensity > kTiny) peaks.emplace_back(mass, intensity);
    };
    for (int c; (c = std::getc(file)) != EOF;) {
        const bool numeric = (c >= '0' && c <= '9') || c == '.';
        switch (state) {
        case 0:
            if (c == '/') {
                word.clear();
                state = 1;
            }
            break;
        case 1:
            if (c == ' ') {
                state = word == "Courier" ? 2 : 0;
            } else {
                append(word, static_cast<char>(c));
            }
            break;
        case 2:
            if (c == '(') {
                number.clear();
                state = 3;
            }
            break;
        case 3:
            if (numeric) {
                append(number, static_cast<char>(c));
            } else if (c == ' ') {
                if (!number.empty()) {
                    mass = value();
                    number.clear();
                    state = 4;
                }
            } else {
                if (c == ')' && !number.empty()) mass = value();
                return;
            }
            break;
        default:
            if (numeric) {
                append(number, static_cast<char>(c));
            } else if (c == ' ' || c == ')') {
                store(value());
                number.clear();
                state = c == ' ' ? 3 : 2;
            } else {
                return;
            }
            break;
        }
    }
}

}  // namespace

bool ImportCosCalib(CBib& bib, const std::vector<std::string>& files)
{
    StartMemoryLibrary(bib, "CosCalib Import", "MS");
    CBibRecord& record = bib.record;
    const int n = static_cast<int>(files.size());
    for (int k = 0; k < n; ++k) {
        if (ReportProgress(k * 100 / n, "loading CosCalib ...") > 1) return false;
        const std::string& path = files[static_cast<size_t>(k)];
        CLineReader reader;
        if (!reader.Open(path)) {
            ReportRunTimeError("Error opening " + path);
            continue;
        }
        StartName(record.name);
        record.name.name = path;
        record.id = k + 1;
        StartSpectrum(record.spectrum, 2, 0);
        ReadCosCalibFile(reader, record.spectrum);
        FinishSpectrum(record.spectrum);
        bib.AppendRecord();
    }
    return true;
}

bool ImportMassLib(CBib& bib, const std::vector<std::string>& files)
{
    StartMemoryLibrary(bib, "MassLib Import", "MS");
    CBibRecord& record = bib.record;
    std::vector<std::pair<double, double>> peaks;
    const int n = static_cast<int>(files.size());
    for (int k = 0; k < n; ++k) {
        if (ReportProgress(k * 100 / n, "loading MassLib ...") > 1) return false;
        const std::string& path = files[static_cast<size_t>(k)];
        FilePtr file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            ReportRunTimeError("Error opening " + path);
            continue;
        }
        peaks.clear();
        peaks.reserve(1000);
        ReadMassLibFile(file.get(), peaks);
        std::stable_sort(peaks.begin(), peaks.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        StartName(record.name);
        record.name.name = path;
        record.id = k + 1;
        CMassSpectrum& spectrum = record.spectrum;
        StartSpectrum(spectrum, 2, 0);
        const int count = static_cast<int>(std::min<size_t>(peaks.size(), 65535));
        spectrum.peaks.Alloc(2, count);
        spectrum.count = static_cast<uint16_t>(count);
        for (int j = 1; j <= count; ++j) {
            spectrum.peaks.Set(1, j, peaks[static_cast<size_t>(j - 1)].first);
            spectrum.peaks.Set(2, j, peaks[static_cast<size_t>(j - 1)].second);
        }
        spectrum.Normalise();
        bib.AppendRecord();
    }
    return true;
}

bool ImportMassLibFolder(CBib& bib, const std::string& anyFileInFolder, CSession& session)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path folder = fs::path(anyFileInFolder).parent_path();
    if (folder.empty()) folder = ".";
    if (!fs::is_directory(folder, error)) {
        ReportRunTimeError("Directory wrong!");
        return false;
    }
    std::vector<std::string> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& entry = it->path();
        if (!EqualsIgnoreCase(entry.extension().string(), ".cop") || !it->is_regular_file(error)) continue;
        const std::string name = entry.filename().string();
        if (files.empty()) {
            session.Log("Generating new BIB from COPs in directory");
            session.Log(Format("init BIB add %s", name.c_str()));
        } else {
            session.Log(Format("add %s", name.c_str()));
        }
        files.push_back(entry.string());
    }
    session.SetStatus("loading MassLib ...");
    return ImportMassLib(bib, files);
}

}  // namespace kiv
