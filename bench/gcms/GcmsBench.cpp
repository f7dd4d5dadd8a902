// The GC-MS chain on a generated run: 3,000 scans x 550 masses held in memory (200 compounds of
// 8 to 20 masses each, Gaussian peaks of 2 to 5 scans sigma, on a background that drifts at every
// mass, with noise), and a reference library of 10,000 spectra written once to a library file.
//   ComputeMsm          the run data of the loaded run,
//   CorrectBaseline     baseline correction of every mass (the records restored between runs),
//   DetectPeaks         peak detection on the corrected run,
//   ForwardSearch       one scan against every reference spectrum, read from the file,
//   WholeChain          the four in a row, as the user runs them after loading a run.
//
// Environment: KIV_BENCH_DIR (folder for the reference library, default the temporary folder),
// KIV_BENCH_REFERENCES (number of reference spectra, default 10000).
#include <benchmark/benchmark.h>

#include "support/RatioReporter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "base/Reporter.h"
#include "base/Session.h"
#include "gcms/Baseline.h"
#include "gcms/ForwardSearch.h"
#include "gcms/Msm.h"
#include "gcms/PeakDetection.h"
#include "library/Bib.h"

using namespace kiv;

namespace {

constexpr int kScans = 3000;
constexpr int kMasses = 550;

struct Compound {
    std::vector<int> masses;
    std::vector<double> pattern;  // relative intensities
    double apex;
    double sigma;
    double height;
};

std::vector<Compound> Compounds(std::mt19937& random, int count)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Compound> compounds;
    for (int c = 0; c < count; ++c) {
        Compound compound;
        const int n = 8 + static_cast<int>(random() % 13);
        for (int k = 0; k < n; ++k) {
            compound.masses.push_back(30 + static_cast<int>(random() % 500));
            compound.pattern.push_back(k == 0 ? 1.0 : 0.02 + 0.9 * unit(random));
        }
        compound.apex = 20 + unit(random) * (kScans - 40);
        compound.sigma = 2 + 3 * unit(random);
        compound.height = 2000 + 200000 * unit(random);
        compounds.push_back(compound);
    }
    return compounds;
}

// Absolute intensities of every scan: background, noise and the compounds' peaks.
std::vector<std::vector<double>> RunIntensities()
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> background(kMasses + 1), drift(kMasses + 1);
    for (int m = 1; m <= kMasses; ++m) {
        background[static_cast<size_t>(m)] = m % 7 == 0 ? 300 * unit(random) : 0;
        drift[static_cast<size_t>(m)] = background[static_cast<size_t>(m)] * unit(random);
    }
    std::vector<std::vector<double>> scans(kScans, std::vector<double>(kMasses, 0.0));
    for (int i = 0; i < kScans; ++i) {
        for (int m = 1; m <= kMasses; ++m) {
            const double level = background[static_cast<size_t>(m)] + drift[static_cast<size_t>(m)] * i / kScans;
            if (level > 0) scans[static_cast<size_t>(i)][static_cast<size_t>(m - 1)] = level * (0.9 + 0.2 * unit(random));
        }
    }
    for (const Compound& c : Compounds(random, 200)) {
        for (int i = std::max(0, static_cast<int>(c.apex - 6 * c.sigma)); i < std::min(kScans, static_cast<int>(c.apex + 6 * c.sigma)); ++i) {
            const double z = (i + 1 - c.apex) / c.sigma;
            const double profile = c.height * std::exp(-0.5 * z * z);
            for (size_t k = 0; k < c.masses.size(); ++k) scans[static_cast<size_t>(i)][static_cast<size_t>(c.masses[k] - 1)] += profile * c.pattern[k];
        }
    }
    return scans;
}

// The run's records as an importer leaves them: relative vectors, base peak, retention time.
std::vector<CMassSpectrum> RunSpectra()
{
    std::vector<CMassSpectrum> spectra;
    int i = 0;
    for (const std::vector<double>& scan : RunIntensities()) {
        CMassSpectrum s;
        s.empty = 0;
        s.isVector = 1;
        double largest = 0;
        for (double v : scan) largest = std::max(largest, v);
        s.vector.Alloc(1, kMasses);
        for (int m = 1; m <= kMasses; ++m) s.vector.Set(1, m, largest > 0 ? scan[static_cast<size_t>(m - 1)] * 100 / largest : 0);
        s.firstMass = 1;
        s.lastMass = kMasses;
        s.basePeakIntensity = static_cast<uint32_t>(std::floor(largest + 0.5));
        s.retentionTime = 3.0 + 0.01 * i++;
        spectra.push_back(std::move(s));
    }
    return spectra;
}

struct Fixture {
    std::vector<CMassSpectrum> spectra;
    std::string references;  // library path without ".ssd"
    int referenceCount = 0;
};

bool WriteReferences(const std::string& stem, int count)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    CBib bib;
    if (!bib.NewLibrary("references", "MS", stem + ".ssd")) return false;
    for (int r = 1; r <= count; ++r) {
        bib.record.Clear();
        bib.record.id = r;
        bib.record.name.empty = 0;
        bib.record.name.name = "reference";
        CMassSpectrum& s = bib.record.spectrum;
        s.empty = 0;
        s.nbyte = 2;
        s.ndec = 0;
        const int n = 10 + static_cast<int>(random() % 60);
        s.peaks.Alloc(2, n);
        for (int k = 1; k <= n; ++k) {
            s.peaks.Set(1, k, 30 + k * 7 + static_cast<int>(random() % 7));
            s.peaks.Set(2, k, k == 1 ? 100.0 : 100.0 * unit(random));
        }
        s.count = static_cast<uint16_t>(n);
        if (!bib.WriteBlock()) return false;
    }
    bib.CloseWrite();
    return true;
}

const Fixture& TheFixture()
{
    static const Fixture fixture = [] {
        Fixture f;
        f.spectra = RunSpectra();
        const char* folder = std::getenv("KIV_BENCH_DIR");
        f.references = folder ? JoinPath(folder, "gcms_references") : TempFolderFile("gcms_references");
        const char* count = std::getenv("KIV_BENCH_REFERENCES");
        f.referenceCount = count ? std::atoi(count) : 10000;
        if (!WriteReferences(f.references, f.referenceCount)) std::fprintf(stderr, "cannot write %s\n", f.references.c_str());
        return f;
    }();
    return fixture;
}

void LoadRun(CBib& run)
{
    run.Close();
    run.Reset();
    run.inMemory = 1;
    for (const CMassSpectrum& s : TheFixture().spectra) {
        run.record.Clear();
        run.record.spectrum = s;
        run.AppendRecord();
    }
}

void OpenReferences(CBib& references)
{
    references.Open(TheFixture().references);
    references.ReadHeader();
    references.OpenIndex();
}

void ComputeMsm(benchmark::State& state)
{
    CBib run;
    LoadRun(run);
    for (auto _ : state) ComputeMSM(run, MsmPass::First);
}

void CorrectBaselineOfEveryMass(benchmark::State& state)
{
    CBib run;
    std::string status;
    for (auto _ : state) {
        state.PauseTiming();
        LoadRun(run);
        ComputeMSM(run, MsmPass::First);
        state.ResumeTiming();
        CorrectBaseline(run, 0, status);
    }
    state.SetLabel(status);
}

void DetectPeaksOfTheRun(benchmark::State& state)
{
    CBib run;
    LoadRun(run);
    std::string status;
    CorrectBaseline(run, 0, status);
    int peaks = 0;
    for (auto _ : state) peaks = DetectPeaks(run.run, run.parameters).Cols();
    state.SetLabel(std::to_string(peaks) + " peaks");
}

void RunForwardSearch(CBib& run, CBib& references)
{
    CChromatogram chromatogram;
    chromatogram.currentScan = kScans / 2;
    CForwardHitlist hitlist;
    CRecordingSession session;
    ForwardSearchCommand(run, references, chromatogram, hitlist, session);
}

void ForwardSearch(benchmark::State& state)
{
    CBib run, references;
    LoadRun(run);
    ComputeMSM(run, MsmPass::First);
    OpenReferences(references);
    for (auto _ : state) RunForwardSearch(run, references);
}

void WholeChain(benchmark::State& state)
{
    CBib run, references;
    OpenReferences(references);
    std::string status;
    for (auto _ : state) {
        state.PauseTiming();
        LoadRun(run);
        state.ResumeTiming();
        ComputeMSM(run, MsmPass::First);
        CorrectBaseline(run, 0, status);
        benchmark::DoNotOptimize(DetectPeaks(run.run, run.parameters));
        RunForwardSearch(run, references);
    }
}

BENCHMARK(ComputeMsm)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(CorrectBaselineOfEveryMass)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(DetectPeaksOfTheRun)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(ForwardSearch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(WholeChain)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    // Undershoots of the baseline are reported once per correction; the terminal would only slow it.
    SetReporter(nullptr);
    benchmark::Initialize(&argc, argv);
    kiv::bench::CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto chain = reporter.seconds.find("WholeChain");
    if (chain != reporter.seconds.end()) {
        std::printf("whole chain: %.3f s for %d scans x %d masses and %d reference spectra\n", chain->second / 1000.0,
                    kScans, kMasses, TheFixture().referenceCount);
    }
    RemoveFile(TheFixture().references + ".ssd");
    RemoveFile(TheFixture().references + ".ssi");
    benchmark::Shutdown();
    return 0;
}
