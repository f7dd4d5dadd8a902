// Import benchmark: generates a JCAMP-DX file of many spectra with multi-pair peak tables and an
// SD file of many molecules, then times the JCAMP-DX import into a new library and the reading of
// the SD file (the Molfile reader alone and the structure-only library import).
//
//   bench_import generate-jcamp FILE COUNT     writes the JCAMP-DX file
//   bench_import generate-continuous FILE COUNT  writes compressed continuous spectra
//                                                ("(X++(Y..Y))" in DIF / DUP form, m/z 15..500)
//   bench_import generate-sd FILE COUNT        writes the SD file
//   bench_import jcamp FILE LIBRARY.ssd        times the import, prints MB/s and spectra/s
//   bench_import sd FILE LIBRARY.ssd           times the Molfile reader and the import
//   bench_import dump LIBRARY.ssd FILE...      imports each file on its own and prints its
//                                              spectra as JSON lines (peer comparison)
//
// The generated data are deterministic (fixed seed) so that peers read the very same bytes.
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/Reporter.h"
#include "import/MolfileReader.h"
#include "import/TextImport.h"
#include "library/Bib.h"

using namespace kiv;

namespace {

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class CCountingReporter : public CReporter {
public:
    void Report(ErrorKind, const std::string& message) override
    {
        if (++count <= 5) std::fprintf(stderr, "error: %s\n", message.c_str());
    }
    int count = 0;
};

int GenerateJcamp(const char* path, long count)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    std::mt19937 random(2024);
    for (long s = 1; s <= count; ++s) {
        // Realistic peak counts of library spectra: 20 to 150 peaks between m/z 15 and 500.
        const int peaks = 20 + static_cast<int>(random() % 131);
        std::fprintf(out,
                     "##TITLE=Compound %ld\r\n##JCAMP-DX=4.24\r\n##DATA TYPE=MASS SPECTRUM\r\n"
                     "##CAS REGISTRY NO=%ld-%02ld-%ld\r\n##MOLFORM=C%d H%d O%d\r\n##MW=%d\r\n"
                     "##NPOINTS=%d\r\n##XYDATA=(XY..XY)\r\n",
                     s, 50 + s % 9000, s % 100, s % 10, 1 + static_cast<int>(s % 30), 2 + static_cast<int>(s % 50),
                     static_cast<int>(s % 4), 100 + static_cast<int>(s % 400), peaks);
        int mass = 14;
        for (int j = 1; j <= peaks; ++j) {
            mass += 1 + static_cast<int>(random() % 3);
            const int intensity = j == 1 + static_cast<int>(s % peaks) ? 999 : 1 + static_cast<int>(random() % 998);
            std::fprintf(out, "%d,%d%s", mass, intensity, j % 5 == 0 || j == peaks ? "\r\n" : " ");
        }
        std::fputs("##END=\r\n", out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

// One ordinate in SQZ form ("@", "A".."I", "a".."i" for the first digit and its sign).
std::string Squeezed(int value)
{
    if (value == 0) return "@";
    const std::string digits = std::to_string(value < 0 ? -value : value);
    return std::string(1, static_cast<char>((value < 0 ? 'a' : 'A') + digits[0] - '1')) + digits.substr(1);
}

// A difference in DIF form ("%", "J".."R", "j".."r").
std::string Difference(int value)
{
    if (value == 0) return "%";
    const std::string digits = std::to_string(value < 0 ? -value : value);
    return std::string(1, static_cast<char>((value < 0 ? 'j' : 'J') + digits[0] - '1')) + digits.substr(1);
}

// A repeat count in DUP form ("S".."Z", "s").
std::string Repeat(int count)
{
    const std::string digits = std::to_string(count);
    return std::string(1, digits[0] == '9' ? 's' : static_cast<char>('S' + digits[0] - '1')) + digits.substr(1);
}

// The ordinates first..last as one DIF line: the first in SQZ form, then the differences, runs
// of equal differences as a repeat count. The next line repeats the last ordinate as its check.
std::string DifLine(const std::vector<int>& y, size_t first, size_t last)
{
    std::string line = Squeezed(y[first]);
    size_t j = first + 1;
    while (j <= last) {
        const int d = y[j] - y[j - 1];
        size_t run = 1;
        while (j + run <= last && y[j + run] - y[j + run - 1] == d) ++run;
        line += Difference(d);
        if (run > 1) line += Repeat(static_cast<int>(run));
        j += run;
    }
    return line;
}

int GenerateContinuous(const char* path, long count)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    std::mt19937 random(2026);
    constexpr int kFirst = 15, kLast = 500, kPerLine = 10;
    std::vector<int> y(kLast - kFirst + 1);
    for (long s = 1; s <= count; ++s) {
        std::fill(y.begin(), y.end(), 0);
        const int peaks = 20 + static_cast<int>(random() % 131);
        for (int j = 0; j < peaks; ++j) y[random() % y.size()] = 1 + static_cast<int>(random() % 9999);
        std::fprintf(out,
                     "##TITLE=Profile %ld\r\n##JCAMP-DX=4.24\r\n##DATA TYPE=MASS SPECTRUM\r\n##XUNITS=M/Z\r\n"
                     "##YUNITS=RELATIVE ABUNDANCE\r\n##FIRSTX=%d\r\n##LASTX=%d\r\n##DELTAX=1\r\n##XFACTOR=1\r\n"
                     "##YFACTOR=1\r\n##NPOINTS=%zu\r\n##XYDATA=(X++(Y..Y))\r\n",
                     s, kFirst, kLast, y.size());
        for (size_t first = 0; first + 1 < y.size(); first += kPerLine) {
            const size_t last = std::min(first + kPerLine, y.size() - 1);
            std::fprintf(out, "%zu%s\r\n", kFirst + first, DifLine(y, first, last).c_str());
        }
        std::fputs("##END=\r\n", out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

int GenerateSd(const char* path, long count)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    std::mt19937 random(2025);
    const char* symbols[] = {"C", "C", "C", "C", "N", "O", "O", "S", "Cl", "F"};
    for (long s = 1; s <= count; ++s) {
        // Molecules of 5 to 40 heavy atoms: a tree whose atoms bond to one of the three atoms
        // before them, plus up to two ring bonds between atoms far apart in larger molecules (so
        // that no bond is given twice).
        const int atoms = 5 + static_cast<int>(random() % 36);
        const int rings = atoms >= 10 ? static_cast<int>(random() % 3) : 0;
        const int bonds = atoms - 1 + rings;
        std::fprintf(out, "molecule %ld\n  bench   0101\n\n%3d%3d  0  0  0  0  0  0  0  0999 V2000\n", s, atoms, bonds);
        for (int a = 1; a <= atoms; ++a) {
            std::fprintf(out, "%10.4f%10.4f%10.4f %-3s 0  0  0  0  0  0  0  0  0  0  0  0\n", (random() % 100000) / 1000.0,
                         (random() % 100000) / 1000.0, 0.0, symbols[random() % 10]);
        }
        for (int b = 2; b <= atoms; ++b) {
            const int parent = std::max(1, b - 1 - static_cast<int>(random() % 3));
            std::fprintf(out, "%3d%3d%3d  0\n", parent, b, 1 + static_cast<int>(random() % 2));
        }
        for (int r = 0; r < rings; ++r) std::fprintf(out, "%3d%3d%3d  0\n", 1 + r, atoms - r, 1);
        std::fputs("M  END\n> <ID>\n", out);
        std::fprintf(out, "%ld\n\n$$$$\n", s);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

int TimeJcamp(const std::string& path, const std::string& library)
{
    CCountingReporter reporter;
    CReporterScope scope(reporter);
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    CBib bib;
    bib.NewLibrary("bench", "MS", library);
    const ImportOutcome outcome = ImportTextFiles(bib, {path}, TextImportFormat::Jcamp);
    const double seconds = Seconds(start);
    // The processor time as well: on a shared machine it varies far less than the elapsed time.
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("jcamp import: %d spectra, %.1f MB in %.3f s: %.1f MB/s, %.0f spectra/s, cpu %.3f s%s\n", outcome.blocksWritten,
                megabytes, seconds, megabytes / seconds, outcome.blocksWritten / seconds, cpuSeconds,
                outcome.completed ? "" : " (failed)");
    return outcome.completed && reporter.count == 0 ? 0 : 1;
}

int TimeSd(const std::string& path, const std::string& library)
{
    CCountingReporter reporter;
    CReporterScope scope(reporter);
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    auto start = std::chrono::steady_clock::now();
    long molecules = 0;
    long atoms = 0;
    {
        CLineReader stream;
        if (!stream.Open(path)) return 1;
        CMolecule molecule;
        while (ReadMolfile(stream, molecule) != MolfileStatus::End) {
            ++molecules;
            atoms += molecule.atomCount;
        }
    }
    double seconds = Seconds(start);
    std::printf("sd read: %ld molecules (%ld atoms), %.1f MB in %.3f s: %.0f molecules/s\n", molecules, atoms, megabytes, seconds,
                molecules / seconds);
    start = std::chrono::steady_clock::now();
    CBib bib;
    bib.NewLibrary("bench", "MS", library);
    const ImportOutcome outcome = ImportTextFiles(bib, {path}, TextImportFormat::Structures);
    seconds = Seconds(start);
    std::printf("sd import into a library: %d blocks in %.3f s: %.0f molecules/s\n", outcome.blocksWritten, seconds,
                outcome.blocksWritten / seconds);
    return reporter.count == 0 ? 0 : 1;
}

// One JSON line per file: {"file": ..., "spectra": [[[mass, percent], ...], ...]}.
int Dump(const std::string& library, int count, char** files)
{
    CCountingReporter reporter;
    CReporterScope scope(reporter);
    for (int k = 0; k < count; ++k) {
        {
            CBib bib;
            bib.NewLibrary("dump", "MS", library);
            ImportTextFiles(bib, {files[k]}, TextImportFormat::Jcamp);
        }
        std::printf("{\"file\": \"%s\", \"spectra\": [", files[k]);
        CBib bib;
        if (static_cast<int>(bib.Open(library.substr(0, library.size() - 4))) == 0) {
            bib.OpenIndex();
            bib.ReadHeader();
            for (int b = 1; b <= bib.header.blockCount; ++b) {
                bib.SelectBlock(b, SpectrumReading::AsStored);
                const CMatrix& peaks = bib.record.spectrum.peaks;
                std::printf("%s[", b > 1 ? ", " : "");
                for (int j = 1; j <= peaks.Cols(); ++j) {
                    std::printf("%s[%.6g, %.6g]", j > 1 ? ", " : "", peaks.Get(1, j), peaks.Get(2, j));
                }
                std::printf("]");
            }
        }
        std::printf("]}\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "dump") return Dump(argv[2], argc - 3, argv + 3);
    if (argc == 4) {
        const std::string what = argv[1];
        if (what == "generate-jcamp") return GenerateJcamp(argv[2], std::atol(argv[3]));
        if (what == "generate-continuous") return GenerateContinuous(argv[2], std::atol(argv[3]));
        if (what == "generate-sd") return GenerateSd(argv[2], std::atol(argv[3]));
        if (what == "jcamp") return TimeJcamp(argv[2], argv[3]);
        if (what == "sd") return TimeSd(argv[2], argv[3]);
    }
    std::fprintf(stderr,
                 "usage: bench_import generate-jcamp|generate-continuous|generate-sd FILE COUNT | jcamp|sd FILE LIBRARY.ssd\n");
    return 2;
}
