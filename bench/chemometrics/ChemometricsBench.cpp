// PCA of a 5,000 x 500 data matrix and PLS of it against 50 properties, as the commands run
// them (centring included), and the decomposition alone. The matrices are generated once with
// a few strong directions and noise, and written as raw little-endian doubles (X.bin, Y.bin,
// row-major) so that a peer can time the same work on the same numbers (run.sh).
//
// Environment: KIV_BENCH_DIR (folder for the matrices, default the temporary folder),
// KIV_BENCH_OBJECTS, KIV_BENCH_FEATURES, KIV_BENCH_PROPERTIES (5000, 500, 50).
#include <benchmark/benchmark.h>

#include "support/RatioReporter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "base/Session.h"
#include "chemometrics/Pca.h"
#include "chemometrics/Pls.h"

using namespace kiv;

namespace {

int Setting(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : fallback;
}

struct Data {
    CMatrixNumerics x, y;
};

// Objects x features with ten strong latent directions, properties depending on five of them.
Data Generate(int m, int n, int q)
{
    std::mt19937 random(42);
    std::normal_distribution<double> normal;
    const int latent = 10;
    CMatrixNumerics scores(m, latent), loadings(latent, n), weights(latent, q);
    for (double& v : scores.Flat()) v = normal(random);
    for (double& v : loadings.Flat()) v = normal(random);
    for (double& v : weights.Flat()) v = normal(random);
    for (int k = 6; k <= latent; ++k)
        for (int j = 1; j <= q; ++j) weights.Set(k, j, 0.0);
    Data d;
    d.x = scores * loadings;
    for (double& v : d.x.Flat()) v += 0.5 * normal(random) + 3.0;
    d.y = scores * weights;
    for (double& v : d.y.Flat()) v += 0.2 * normal(random);
    return d;
}

void WriteRaw(const std::string& path, const CMatrix& m)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(m.Data(), sizeof(double), static_cast<size_t>(m.Count()), file);
    std::fclose(file);
}

const Data& Matrices()
{
    static const Data data = [] {
        Data d = Generate(Setting("KIV_BENCH_OBJECTS", 5000), Setting("KIV_BENCH_FEATURES", 500),
                          Setting("KIV_BENCH_PROPERTIES", 50));
        const char* folder = std::getenv("KIV_BENCH_DIR");
        const std::filesystem::path dir = folder ? folder : std::filesystem::temp_directory_path();
        WriteRaw((dir / "X.bin").string(), d.x);
        WriteRaw((dir / "Y.bin").string(), d.y);
        return d;
    }();
    return data;
}

void Pca(benchmark::State& state)
{
    const Data& d = Matrices();
    for (auto _ : state) {
        CDataSet set;
        set.X = d.x;
        CRecordingSession session;
        PcaCommand(set, DataMatrix::X, session, nullptr);
        benchmark::DoNotOptimize(set.XScores.Data());
    }
}
BENCHMARK(Pca)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void Pls(benchmark::State& state)
{
    const Data& d = Matrices();
    for (auto _ : state) {
        CDataSet set;
        set.X = d.x;
        set.Y = d.y;
        CRecordingSession session;
        PlsCommand(set, session, nullptr);
        benchmark::DoNotOptimize(set.YPred.Data());
    }
}
BENCHMARK(Pls)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The decomposition behind PCA alone (values and right vectors of the centred matrix).
void SvdValuesRight(benchmark::State& state)
{
    CDataSet set;
    set.X = Matrices().x;
    CRecordingSession session;
    for (auto _ : state) {
        CMatrixNumerics w, v;
        set.X.SvdValuesRight(w, v);
        benchmark::DoNotOptimize(v.Data());
    }
}
BENCHMARK(SvdValuesRight)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    kiv::bench::CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
