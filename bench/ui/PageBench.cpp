// The page view of the desktop without a screen. A library of 200,000 generated records (a
// spectrum of 40 to 150 peaks and a ring structure of 8 to 14 atoms each) is written once; then
//   RecordChangeSetup2    selects a random record, refills the page (spectrum, structure, text)
//                         and draws it into a counting painter: what one key press costs,
//   RecordChangeSetup3    the same on the page of four spectra and structures (four records read
//                         per change, the current one restored),
//   RecordChangeSetup21   the same on the page of sixteen structures,
//   ScatterDraw100k       draws a scatter plot of 100,000 points with their numbers,
//   ScatterDrawZoomed100k the same plot zoomed to a quarter of its range (only visible points).
// Every time is per page (milliseconds); a record change should stay below 16 ms and the scatter
// plot below 100 ms.
//
// Environment: KIV_BENCH_DIR (folder for the files, default the temporary folder),
// KIV_BENCH_SPECTRA (number of records, default 200000).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "base/Reporter.h"
#include "ui/MeasuringPainter.h"
#include "ui/PageView.h"

using namespace kiv;

namespace {

// Tells nobody anything: the session of a view without a window.
class CSilentSession : public CSession {
public:
    void SetStatus(const std::string&) override {}
    void Log(const std::string&) override {}
    void ClearLog() override {}
    void Redraw() override {}
    void CopyText(const std::string&) override {}
    void ShowPage(int) override {}
};

struct Fixture {
    std::string stem;  // library without ".ssd"
    int blocks = 0;
};

void GeneratedSpectrum(std::mt19937& random, CMassSpectrum& s)
{
    const int n = 40 + static_cast<int>(random() % 111);
    std::uniform_real_distribution<double> intensity(0.01, 99.0);
    s.empty = 0;
    s.isVector = 0;
    s.nbyte = 2;
    s.ndec = 0;
    s.count = static_cast<uint16_t>(n);
    s.peaks.Alloc(2, n);
    int mass = 14;
    for (int j = 1; j <= n; ++j) {
        mass += 1 + static_cast<int>(random() % 4);
        s.peaks.Set(1, j, mass);
        s.peaks.Set(2, j, j == n / 2 ? 100 : intensity(random));
    }
    s.Normalise();
}

// A ring of carbons with an oxygen and alternating double bonds.
void GeneratedMolecule(std::mt19937& random, CMolecule& m)
{
    const int atoms = 8 + static_cast<int>(random() % 7);
    m.Allocate(atoms, atoms);
    for (int a = 0; a < atoms; ++a) {
        m.element[a] = a == 0 ? 8 : 6;
        m.x[a] = static_cast<float>(std::cos(a * 6.2831853 / atoms));
        m.y[a] = static_cast<float>(std::sin(a * 6.2831853 / atoms));
        m.bondFrom[a] = static_cast<uint16_t>(a + 1);
        m.bondTo[a] = static_cast<uint16_t>((a + 1) % atoms + 1);
        m.bondOrder[a] = a % 2 == 0 ? 2 : 1;
    }
}

const Fixture& TheFixture()
{
    static Fixture fixture = [] {
        Fixture f;
        const char* folder = std::getenv("KIV_BENCH_DIR");
        const char* count = std::getenv("KIV_BENCH_SPECTRA");
        f.stem = folder ? JoinPath(folder, "kiv-bench-ui-library") : TempFolderFile("kiv-bench-ui-library");
        f.blocks = count ? std::atoi(count) : 200000;
        CBib bib;
        bib.NewLibrary("Benchmark", "MS", f.stem + ".ssd");
        std::mt19937 random(20261208);
        for (int id = 1; id <= f.blocks; ++id) {
            bib.record.Clear();
            bib.record.id = id;
            bib.record.name.empty = 0;
            bib.record.name.name = "compound " + std::to_string(id);
            GeneratedSpectrum(random, bib.record.spectrum);
            GeneratedMolecule(random, bib.record.molecule);
            bib.WriteBlock();
        }
        bib.CloseWrite();
        return f;
    }();
    return fixture;
}

void RecordChange(benchmark::State& state, int setup)
{
    const Fixture& f = TheFixture();
    CKivDoc doc;
    doc.bib.Open(f.stem);
    doc.bib.OpenIndex();
    doc.bib.ReadHeader();
    CSilentSession session;
    CPageView view(doc);
    view.Settings().setup = setup;
    view.Rebuild();
    std::mt19937 random(7);
    CCountingPainter painter;
    for (auto _ : state) {
        SelectWorkingRecord(doc, 1 + static_cast<int>(random() % static_cast<unsigned>(f.blocks)), session);
        view.Refresh();
        view.Draw(painter, view.PageArea());
    }
    benchmark::DoNotOptimize(painter.points);
    state.counters["calls/page"] = static_cast<double>(painter.calls) / static_cast<double>(state.iterations());
}

void RecordChangeSetup2(benchmark::State& state) { RecordChange(state, 2); }
void RecordChangeSetup3(benchmark::State& state) { RecordChange(state, 3); }
void RecordChangeSetup21(benchmark::State& state) { RecordChange(state, 21); }

void ScatterDraw(benchmark::State& state, bool zoomed)
{
    CKivDoc doc;
    std::mt19937 random(11);
    std::normal_distribution<double> score(0, 3);
    const int points = 100000;
    doc.data.XScores = CMatrix(points, 2);
    doc.data.XClass = CMatrixI(points, 1);
    for (int i = 1; i <= points; ++i) {
        doc.data.XScores.Set(i, 1, score(random));
        doc.data.XScores.Set(i, 2, score(random));
        doc.data.XClass.Set(i, 1, i % 4);
    }
    CPageView view(doc);
    view.Settings().setup = 10;
    view.Rebuild();
    view.ShowScatterPlot(1, "X Scores", 1, 2);
    CScatterPlot& plot = view.Scatter(1);
    if (zoomed) plot.SetZoomWindow({-3, 3, -3, 3});
    CCountingPainter painter;
    for (auto _ : state) view.Draw(painter, view.PageArea());
    benchmark::DoNotOptimize(painter.points);
    state.counters["calls/page"] = static_cast<double>(painter.calls) / static_cast<double>(state.iterations());
}

void ScatterDraw100k(benchmark::State& state) { ScatterDraw(state, false); }
void ScatterDrawZoomed100k(benchmark::State& state) { ScatterDraw(state, true); }

BENCHMARK(RecordChangeSetup2)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordChangeSetup3)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordChangeSetup21)->Unit(benchmark::kMillisecond);
BENCHMARK(ScatterDraw100k)->Unit(benchmark::kMillisecond);
BENCHMARK(ScatterDrawZoomed100k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    SetReporter(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const Fixture& f = TheFixture();
    RemoveFile(f.stem + ".ssd");
    RemoveFile(f.stem + ".ssi");
    benchmark::Shutdown();
    return 0;
}
