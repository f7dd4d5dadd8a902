// Reading a large spectral library. A library of 200,000 generated spectra (40 to 150 peaks
// each, most as integer peak lists, some as vectors or accurate-mass lists, half of them with a
// structure) is written once; then
//   RawRead           reads the bytes of the data file in large chunks (the floor),
//   SelectEveryBlock  selects every block in order as the feature generation does (cut at
//                     m/z 100 and normalised),
//   SelectAsStored    the same without the cut and normalisation (as copies read),
//   RebuildIndex      rebuilds the index file from the data file.
// At the end the ratio of the selection pass to the raw read is printed.
//
// Environment: KIV_BENCH_DIR (folder for the library, default the temporary folder),
// KIV_BENCH_SPECTRA (number of spectra, default 200000).
#include <benchmark/benchmark.h>

#include "support/RatioReporter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "base/Paths.h"
#include "base/Reporter.h"
#include "library/Bib.h"
#include "library/BibIndex.h"

using namespace kiv;

namespace {

struct Library {
    std::string stem;
    int blocks = 0;
    int64_t bytes = 0;
};

CBibRecord GeneratedRecord(std::mt19937& random, int id)
{
    CBibRecord r;
    r.id = id;
    r.name.empty = 0;
    r.name.name = "compound number " + std::to_string(id);
    r.name.formula = "C10H12O2";
    r.name.origin = "generated";
    r.name.originNumber = id;
    r.name.cas = 1000 + id;
    r.name.mw = 164.0837;
    r.name.nominalMW = 164;
    if (id % 2 == 0) {
        const int atoms = 8 + static_cast<int>(random() % 25);
        r.molecule.Allocate(atoms, atoms);
        for (int i = 0; i < atoms; ++i) {
            r.molecule.element[static_cast<size_t>(i)] = i % 5 == 0 ? 8 : 6;
            r.molecule.x[static_cast<size_t>(i)] = static_cast<float>(i);
            r.molecule.bondFrom[static_cast<size_t>(i)] = static_cast<uint16_t>(i + 1);
            r.molecule.bondTo[static_cast<size_t>(i)] = static_cast<uint16_t>((i + 1) % atoms + 1);
            r.molecule.bondOrder[static_cast<size_t>(i)] = 1;
        }
    }
    // Distinct masses between 15 and an upper limit that leaves room for the peaks.
    const int peaks = 40 + static_cast<int>(random() % 111);
    const int top = peaks + 40 + static_cast<int>(random() % 400);
    std::vector<int> masses;
    for (int m = 15; m <= top && static_cast<int>(masses.size()) < peaks; ++m) {
        if (static_cast<int>(random() % static_cast<unsigned>(top - 14)) < peaks + peaks / 2) masses.push_back(m);
    }
    CMassSpectrum& s = r.spectrum;
    s.empty = 0;
    const int n = static_cast<int>(masses.size());
    const int basePeak = static_cast<int>(random() % static_cast<unsigned>(n));
    std::uniform_real_distribution<double> intensity(0.01, 99.0);
    const int kind = id % 10;
    if (kind < 2) {
        s.isVector = 1;
        s.firstMass = static_cast<uint16_t>(masses.front());
        s.lastMass = static_cast<uint16_t>(masses.back());
        s.vector.Alloc(1, masses.back());
        for (int j = 0; j < n; ++j) s.vector.Set(1, masses[static_cast<size_t>(j)], j == basePeak ? 100 : intensity(random));
    } else {
        s.isVector = 0;
        s.nbyte = kind == 9 ? 4 : 2;
        s.ndec = kind == 9 ? 2 : 0;
        s.peaks.Alloc(2, n);
        for (int j = 0; j < n; ++j) {
            s.peaks.Set(1, j + 1, masses[static_cast<size_t>(j)] + (kind == 9 ? 0.01 * (random() % 40) : 0));
            s.peaks.Set(2, j + 1, j == basePeak ? 100 : intensity(random));
        }
    }
    s.basePeakMass = masses[static_cast<size_t>(basePeak)];
    s.basePeakIntensity = 10000 + static_cast<uint32_t>(random() % 100000);
    s.tic = 5 * static_cast<int32_t>(s.basePeakIntensity);
    s.retentionIndex = 800 + random() % 2000;
    return r;
}

const Library& TheLibrary()
{
    static Library library = [] {
        Library lib;
        const char* folder = std::getenv("KIV_BENCH_DIR");
        const char* count = std::getenv("KIV_BENCH_SPECTRA");
        lib.stem = folder ? JoinPath(folder, "bench-library") : TempFolderFile("kiv-bench-library");
        lib.blocks = count ? std::atoi(count) : 200000;
        const auto start = std::chrono::steady_clock::now();
        CBib bib;
        bib.NewLibrary("Benchmark", "MS", lib.stem + ".ssd");
        std::mt19937 random(20240607);
        for (int id = 1; id <= lib.blocks; ++id) {
            bib.record = GeneratedRecord(random, id);
            bib.WriteBlock();
        }
        bib.CloseWrite();
        const auto written = std::chrono::steady_clock::now();
        CBib reader;
        reader.Open(lib.stem);
        reader.ReadHeader();
        reader.OpenIndex();  // builds the index
        const auto indexed = std::chrono::steady_clock::now();
        std::FILE* file = std::fopen((lib.stem + ".ssd").c_str(), "rb");
        std::fseek(file, 0, SEEK_END);
        lib.bytes = std::ftell(file);
        std::fclose(file);
        std::fprintf(stderr, "library: %d spectra, %lld bytes; written in %.2f s, first index rebuild %.2f s\n", lib.blocks,
                     static_cast<long long>(lib.bytes), std::chrono::duration<double>(written - start).count(),
                     std::chrono::duration<double>(indexed - written).count());
        return lib;
    }();
    return library;
}

void RawRead(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    std::vector<char> buffer(256 * 1024);
    for (auto _ : state) {
        std::FILE* file = std::fopen((lib.stem + ".ssd").c_str(), "rb");
        size_t total = 0;
        size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) total += n + static_cast<unsigned char>(buffer[n / 2]);
        std::fclose(file);
        benchmark::DoNotOptimize(total);
    }
    state.counters["blocks/s"] = benchmark::Counter(lib.blocks, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(state.iterations() * lib.bytes);
}

void SelectEveryBlock(benchmark::State& state, SpectrumReading reading)
{
    const Library& lib = TheLibrary();
    CBib bib;
    bib.Open(lib.stem);
    bib.ReadHeader();
    bib.OpenIndex();
    for (auto _ : state) {
        double sum = 0;
        for (int b = 1; b <= bib.header.blockCount; ++b) {
            bib.SelectBlock(b, reading);
            sum += bib.record.spectrum.basePeakMass;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["blocks/s"] = benchmark::Counter(lib.blocks, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(state.iterations() * lib.bytes);
}

void SelectForAnalysis(benchmark::State& state) { SelectEveryBlock(state, SpectrumReading::ForAnalysis); }
void SelectAsStored(benchmark::State& state) { SelectEveryBlock(state, SpectrumReading::AsStored); }

void RebuildIndex(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    for (auto _ : state) {
        CBibHeader header;
        RebuildBibIndex(lib.stem, header);
        benchmark::DoNotOptimize(header.blockCount);
    }
    state.counters["blocks/s"] = benchmark::Counter(lib.blocks, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(RawRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(SelectForAnalysis)->Name("SelectEveryBlock")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(SelectAsStored)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(RebuildIndex)->Unit(benchmark::kMillisecond)->MinTime(2.0);


}  // namespace

int main(int argc, char** argv)
{
    SetReporter(nullptr);
    benchmark::Initialize(&argc, argv);
    kiv::bench::CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto raw = reporter.seconds.find("RawRead");
    for (const char* name : {"SelectEveryBlock", "SelectAsStored", "RebuildIndex"}) {
        const auto it = reporter.seconds.find(name);
        if (raw != reporter.seconds.end() && it != reporter.seconds.end() && raw->second > 0) {
            std::printf("%s / RawRead = %.2f\n", name, it->second / raw->second);
        }
    }
    const Library& lib = TheLibrary();
    RemoveFile(lib.stem + ".ssd");
    RemoveFile(lib.stem + ".ssi");
    benchmark::Shutdown();
    return 0;
}
