// Features of a large spectral library. A library of 100,000 generated spectra (40 to 150 peaks
// between m/z 15 and 500, read for analysis as usual: cut at m/z 100, base peak 100) and a
// definition file that uses every family (about 500 features) are written once; then
//   SelectEveryBlock     selects every block in order: the reading alone (the floor),
//   FeaturesWithoutOutput  reading and computing the features one by one, nothing written,
//   FeaturesFloat32Threads1, FeaturesFloat32Threads2
//                        the feature generation's record loop writing 32-bit floats on one
//                        and on two threads,
//   FeaturesText         the same loop on every core writing "%12.5f" text,
//   FeaturesCdm          the same loop on every core writing a CDM file of floats.
// At the end the spectra per second, the ratio of each feature pass to the reading pass and the
// speed-up of two threads over one are printed.
//
// Environment: KIV_BENCH_DIR (folder for the files, default the temporary folder),
// KIV_BENCH_SPECTRA (number of spectra, default 100000).
#include <benchmark/benchmark.h>

#include "support/RatioReporter.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/Reporter.h"
#include "base/TextFile.h"
#include "features/FeatureCommands.h"
#include "features/FeatureOutput.h"
#include "library/Bib.h"

using namespace kiv;

namespace {

struct Fixture {
    std::string stem;  // library without ".ssd"
    std::string definitions;
    std::string output;
    int blocks = 0;
    int features = 0;
};

void GeneratedSpectrum(std::mt19937& random, CMassSpectrum& s)
{
    const int peaks = 40 + static_cast<int>(random() % 111);
    const int top = peaks + 40 + static_cast<int>(random() % 360);
    std::vector<int> masses;
    for (int m = 15; m <= top && static_cast<int>(masses.size()) < peaks; ++m) {
        if (static_cast<int>(random() % static_cast<unsigned>(top - 14)) < peaks + peaks / 2) masses.push_back(m);
    }
    const int n = static_cast<int>(masses.size());
    const int basePeak = static_cast<int>(random() % static_cast<unsigned>(n));
    std::uniform_real_distribution<double> intensity(0.01, 99.0);
    s.empty = 0;
    s.isVector = 0;
    s.nbyte = 2;
    s.ndec = 0;
    s.count = static_cast<uint16_t>(n);
    s.peaks.Alloc(2, n);
    for (int j = 0; j < n; ++j) {
        s.peaks.Set(1, j + 1, masses[static_cast<size_t>(j)]);
        s.peaks.Set(2, j + 1, j == basePeak ? 100 : intensity(random));
    }
    s.Normalise();
}

// Every family, about 500 features, the spectrum transformation switched in the middle.
std::vector<std::string> DefinitionLines()
{
    std::vector<std::string> lines = {
        "// every family of the engine",
        "MD 14 1 100 M",
        "MD 7 1 100 S",
        "MD 2 1 100 0",
        "LR 1 30-99 0 1",
        "LR 2 40-90 1 1",
        "LR 14 30-70 3 0.5",
        "AC 1 100 1-20 N",
        "IM 1/10,11/20,21/30,31/40,41/50,51/60,61/70,71/80,81/90,91/100",
        "IM 25-100",
        "IMTP0.5 20/40,40/60,60/80,80/100",
        "IMTL10 20/40,40/60,60/80,80/100",
        "IMTS 20/40,40/60,60/80,80/100",
        "SCI 1 0.5 0.2 M",
        "IML 3 30-100",
        "TYP ALL 31 800",
        "TYP DUST 15 100",
        "PG alkyl ALL 29,43,57,71,85,99",
        "PG aromatic ALL 39,50-52,63-65,77,91",
        "PG carbonyl ALL 43,58,71,86",
        "PG acid ALL 45,60,73",
        "PG amine ALL 30,44,58,72,86,100",
        "PG ether ALL 31,45,59,73,87",
        "PG mixed MP0.5 41,55,69,83,97",
        "PG mixed ML10 41,55,69,83,97",
        "PG mixed MS 41,55,69,83,97",
        "PG mixed MS30 10 41,55,69,83,97",
        "SP PYRIMID01 ALL",
        "SCI 0 1 0 M",
        "PPS phenyl ALL 30 100 39 20 50 15 51 30 77 100",
        "PPS tolyl ALL 0 0 65 20 91 100 92 60",
        "PPS butyl COR2AB 20 90 29 40 41 60 43 40 57 100",
        "PPS butyl COR1ABP0.5 20 90 29 40 41 60 43 40 57 100",
        "PPS butyl CORRABS 20 90 29 40 41 60 43 40 57 100",
        "PPS ester ALL 15 100 43 100 59 10 74 20",
    };
    return lines;
}

const Fixture& TheFixture()
{
    static Fixture fixture = [] {
        Fixture f;
        const char* folder = std::getenv("KIV_BENCH_DIR");
        const char* count = std::getenv("KIV_BENCH_SPECTRA");
        auto place = [&](const std::string& name) { return folder ? JoinPath(folder, name) : TempFolderFile(name); };
        f.stem = place("kiv-bench-features-library");
        f.definitions = place("kiv-bench-features-definitions.txt");
        f.output = place("kiv-bench-features-output");
        f.blocks = count ? std::atoi(count) : 100000;

        const auto start = std::chrono::steady_clock::now();
        CBib bib;
        bib.NewLibrary("Benchmark", "MS", f.stem + ".ssd");
        std::mt19937 random(20240611);
        for (int id = 1; id <= f.blocks; ++id) {
            bib.record.Clear();
            bib.record.id = id;
            GeneratedSpectrum(random, bib.record.spectrum);
            bib.WriteBlock();
        }
        bib.CloseWrite();
        CBib reader;
        reader.Open(f.stem);
        reader.OpenIndex();  // builds the index
        reader.ReadHeader();
        const auto written = std::chrono::steady_clock::now();

        CTextWriter definitions;
        definitions.Open(f.definitions);
        for (const std::string& line : DefinitionLines()) definitions.Write(line + "\n");
        definitions.Close();
        FeatureDefinitionSet set;
        set.definitionFile = f.definitions;
        set.LoadDefinitions();
        reader.SelectBlock(1);
        reader.record.spectrum.ToVector();
        set.ComputeFeatures(reader.record.spectrum.vector, 0);
        f.features = set.featureCount;
        std::fprintf(stderr, "library: %d spectra (written and indexed in %.2f s); %d definition lines, %d features\n",
                     reader.header.blockCount, std::chrono::duration<double>(written - start).count(),
                     static_cast<int>(set.lines.size()), f.features);
        return f;
    }();
    return fixture;
}

void OpenLibrary(CBib& bib, const Fixture& f)
{
    bib.Open(f.stem);
    bib.OpenIndex();
    bib.ReadHeader();
}

void SelectEveryBlock(benchmark::State& state)
{
    const Fixture& f = TheFixture();
    CBib bib;
    OpenLibrary(bib, f);
    for (auto _ : state) {
        double sum = 0;
        for (int b = 1; b <= bib.header.blockCount; ++b) {
            bib.SelectBlock(b);
            sum += bib.record.spectrum.basePeakMass;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["spectra/s"] = benchmark::Counter(f.blocks, benchmark::Counter::kIsIterationInvariantRate);
}

// The record loop of the feature generation, as the batch task runs it.
void Features(benchmark::State& state, int saveMode, const char* extension, const char* cdmFormat, int threads)
{
    const Fixture& f = TheFixture();
    CBib bib;
    OpenLibrary(bib, f);
    bib.parameters.threads = threads;
    FeatureDefinitionSet set;
    set.definitionFile = f.definitions;
    set.LoadDefinitions();
    set.saveMode = saveMode;
    CHeadlessPrompter prompter;
    const std::string output = f.output + extension;
    int rows = 0;
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        set.outputFile = output;
        rows = StreamLibraryFeatures(bib, set, cdmFormat, prompter).rowsWritten;
    }
    if (rows != f.blocks) state.SkipWithError("not every block was written");
    state.counters["spectra/s"] = benchmark::Counter(f.blocks, benchmark::Counter::kIsIterationInvariantRate);
    // Processor time of every thread per spectrum: on a busy machine the threads get less of the
    // processor than on a quiet one, but the work they do stays comparable.
    const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    state.counters["cpu us/spectrum"] = cpu * 1e6 / (static_cast<double>(state.iterations()) * f.blocks);
    state.counters["features"] = set.featureCount;
    RemoveFile(output);
}

// Reading and computing without any output, to tell the engine's share from the writer's.
void FeaturesWithoutOutput(benchmark::State& state)
{
    const Fixture& f = TheFixture();
    CBib bib;
    OpenLibrary(bib, f);
    FeatureDefinitionSet set;
    set.definitionFile = f.definitions;
    set.LoadDefinitions();
    bib.SelectBlock(1);
    bib.record.spectrum.ToVector();
    set.ComputeFeatures(bib.record.spectrum.vector, 0);
    set.ResizeFeatures(1, 0);
    for (auto _ : state) {
        double sum = 0;
        for (int b = 1; b <= bib.header.blockCount; ++b) {
            bib.SelectBlock(b);
            bib.record.spectrum.ToVector();
            set.ComputeFeatures(bib.record.spectrum.vector, 1);
            sum += set.features.Get(1, 1);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["spectra/s"] = benchmark::Counter(f.blocks, benchmark::Counter::kIsIterationInvariantRate);
}

void FeaturesFloat32Threads1(benchmark::State& state) { Features(state, kSaveFloat32, ".bin", "", 1); }
void FeaturesFloat32Threads2(benchmark::State& state) { Features(state, kSaveFloat32, ".bin", "", 2); }
void FeaturesText(benchmark::State& state) { Features(state, kSaveText12_5, ".txt", "", 0); }
void FeaturesCdm(benchmark::State& state) { Features(state, kSaveCdm, ".cdm", "FLOAT", 0); }

BENCHMARK(SelectEveryBlock)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FeaturesWithoutOutput)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FeaturesFloat32Threads1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FeaturesFloat32Threads2)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FeaturesText)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(FeaturesCdm)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();


}  // namespace

int main(int argc, char** argv)
{
    // Reports would only measure the terminal; the generated definitions raise none.
    SetReporter(nullptr);
    benchmark::Initialize(&argc, argv);
    kiv::bench::CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const Fixture& f = TheFixture();
    const auto reading = reporter.seconds.find("SelectEveryBlock");
    for (const auto& [name, milliseconds] : reporter.seconds) {
        std::printf("%-45s %10.0f spectra/s", name.c_str(), f.blocks / (milliseconds / 1000.0));
        if (reading != reporter.seconds.end() && reading->second > 0) std::printf("   %.2f x reading", milliseconds / reading->second);
        std::printf("\n");
    }
    const auto one = reporter.seconds.find("FeaturesFloat32Threads1");
    const auto two = reporter.seconds.find("FeaturesFloat32Threads2");
    if (one != reporter.seconds.end() && two != reporter.seconds.end() && two->second > 0) {
        std::printf("speed-up of two threads over one (float32 output): %.2f x\n", one->second / two->second);
    }
    RemoveFile(f.stem + ".ssd");
    RemoveFile(f.stem + ".ssi");
    RemoveFile(f.definitions);
    benchmark::Shutdown();
    return 0;
}
