// MSP benchmark: generates an MSP library of many records in the NIST export layout (several
// "mass intensity;" pairs a line, synonyms, Kovats indices, CAS and NIST numbers) and times its
// import into a new library, and the reader alone without writing the library.
//
//   bench_msp generate FILE COUNT     writes the MSP file (deterministic, fixed seed)
//   bench_msp read FILE LIBRARY.ssd   times the import and the bare reading, prints MB/s
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "import/MspImport.h"
#include "import/MspReader.h"

using namespace kiv;

namespace {

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor time of this process since start: on a busy machine the wall-clock rate says more
// about the neighbours than about the reader.
double CpuSeconds(std::clock_t start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

int Generate(const char* path, long count)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    std::mt19937 random(2026);
    for (long s = 1; s <= count; ++s) {
        // Library spectra: 20 to 150 peaks between m/z 15 and 500, the base peak at 999.
        const int peaks = 20 + static_cast<int>(random() % 131);
        std::fprintf(out,
                     "Name: Compound %ld\r\nSynon: Synonym of compound %ld\r\nFormula: C%dH%dO%d\r\nMW: %d\r\n"
                     "CAS#: %ld-%02ld-%ld;  NIST#: %ld\r\nRetention_index: SemiStdNP=%ld/5/12 StdNP=%ld/3/8\r\n"
                     "Num Peaks: %d\r\n",
                     s, s, 1 + static_cast<int>(s % 30), 2 + static_cast<int>(s % 50), static_cast<int>(s % 4),
                     100 + static_cast<int>(s % 400), 50 + s % 9000, s % 100, s % 10, s, 500 + s % 3000, 490 + s % 3000,
                     peaks);
        int mass = 14;
        const int base = 1 + static_cast<int>(s % peaks);
        for (int j = 1; j <= peaks; ++j) {
            mass += 1 + static_cast<int>(random() % 3);
            const int intensity = j == base ? 999 : 1 + static_cast<int>(random() % 998);
            std::fprintf(out, "%d %d;%s", mass, intensity, j % 5 == 0 || j == peaks ? "\r\n" : " ");
        }
        std::fputs("\r\n", out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

int Read(const char* path, const char* library)
{
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    MessageLog log;
    auto start = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
    const MspImportOutcome outcome = ImportMsp(path, library, log);
    const double importSeconds = Seconds(start);
    const double importCpu = CpuSeconds(cpuStart);
    std::printf("msp import: %d records (%d skipped), %.1f MB in %.3f s: %.1f MB/s, %.0f records/s; "
                "%.3f s processor time: %.1f MB/s\n",
                outcome.imported, outcome.skipped, megabytes, importSeconds, megabytes / importSeconds,
                outcome.imported / importSeconds, importCpu, megabytes / importCpu);

    start = std::chrono::steady_clock::now();
    cpuStart = std::clock();
    CMspReader reader(log);
    if (!reader.Open(path)) return 1;
    CBibRecord record;
    long records = 0;
    while (reader.Next(record) != MspStatus::End) ++records;
    const double readSeconds = Seconds(start);
    const double readCpu = CpuSeconds(cpuStart);
    std::printf("msp reader alone: %ld records in %.3f s: %.1f MB/s; %.3f s processor time: %.1f MB/s\n", records,
                readSeconds, megabytes / readSeconds, readCpu, megabytes / readCpu);
    return outcome.completed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4) {
        const std::string what = argv[1];
        if (what == "generate") return Generate(argv[2], std::atol(argv[3]));
        if (what == "read") return Read(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: bench_msp generate FILE COUNT | read FILE LIBRARY.ssd\n");
    return 2;
}
