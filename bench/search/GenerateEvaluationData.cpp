// Writes the data of the evaluation benchmark into a folder: a library of generated spectra
// (lib.ssd), structure descriptors (desc.txt / desc.bit), a test index (tests.txt), a feature
// definition file of about 300 features (features.def) with the feature matrix as the feature
// output writes it (features.bin, 4-byte floats), and the same vectors as the program compares
// them, for the peer: spectra.f64 (records x 100 doubles) and tests.i32 (record numbers).
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "features/FeatureDefinitionSet.h"
#include "library/Bib.h"

using namespace kiv;

namespace {

constexpr int kAnalysisMasses = 100;

CMassSpectrum RandomSpectrum(std::mt19937& random)
{
    std::uniform_int_distribution<int> peakCount(40, 150), mass(12, 300);
    std::exponential_distribution<double> height(0.08);
    CMassSpectrum s;
    s.empty = 0;
    s.nbyte = 2;
    s.ndec = 0;
    const int peaks = peakCount(random);
    s.count = static_cast<uint16_t>(peaks);
    s.peaks.Alloc(2, peaks);
    for (int j = 1; j <= peaks; ++j) {
        s.peaks.Set(1, j, mass(random));
        s.peaks.Set(2, j, std::min(100.0, 0.5 + height(random)));
    }
    s.peaks.Set(2, 1 + static_cast<int>(random() % peaks), 100.0);
    s.Normalise();
    return s;
}

void Write(const std::string& path, const void* data, size_t bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, bytes, file) != bytes) std::perror(path.c_str());
    if (file) std::fclose(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER RECORDS TESTS\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int records = std::atoi(argv[2]);
    const int tests = std::atoi(argv[3]);
    std::mt19937 random(20261208);

    std::string definitions = "IM 1-100\r\nIML 3 1-100\r\nMD 50 1 100 M\r\nMD 47 1 100 S\r\n";
    Write(folder + "/features.def", definitions.data(), definitions.size());
    FeatureDefinitionSet features;
    features.definitionFile = folder + "/features.def";
    features.LoadDefinitions();

    CBib bib;
    if (!bib.NewLibrary("benchmark", "MS", folder + "/lib.ssd") || !bib.WriteHeader()) return 1;
    std::vector<double> spectra(static_cast<size_t>(records) * kAnalysisMasses, 0.0);
    std::vector<float> featureRows;
    std::vector<unsigned char> descriptorBits(static_cast<size_t>(records) * 32);
    for (int i = 0; i < records; ++i) {
        bib.record.Clear();
        bib.record.id = i + 1;
        bib.record.spectrum = RandomSpectrum(random);
        if (!bib.WriteBlock()) return 1;

        // The vector as an evaluation reads it: cut at mass 100 and normalised again.
        CMassSpectrum analysed = bib.record.spectrum;
        analysed.CutAbove(kAnalysisMasses);
        analysed.Normalise();
        analysed.ToVector();
        for (int m = 1; m <= std::min(kAnalysisMasses, analysed.vector.Cols()); ++m) {
            spectra[static_cast<size_t>(i) * kAnalysisMasses + m - 1] = analysed.vector.Get(1, m);
        }
        features.ComputeFeatures(analysed.vector, 0);
        for (int f = 1; f <= features.featureCount; ++f) featureRows.push_back(static_cast<float>(features.features.Get(1, f)));
        for (int b = 0; b < 32; ++b) descriptorBits[static_cast<size_t>(i) * 32 + b] = static_cast<unsigned char>(random() & random());
    }
    bib.CloseWrite();

    std::string header = "benchmark descriptors\r\nObjs:" + std::to_string(records) + "\r\nBits:256\r\n";
    Write(folder + "/desc.txt", header.data(), header.size());
    Write(folder + "/desc.bit", descriptorBits.data(), descriptorBits.size());
    Write(folder + "/features.bin", featureRows.data(), featureRows.size() * sizeof(float));
    Write(folder + "/spectra.f64", spectra.data(), spectra.size() * sizeof(double));

    std::vector<int32_t> testRecords;
    std::string index = "test objects\r\n" + std::to_string(tests) + " 1\r\n";
    for (int l = 0; l < tests; ++l) {
        testRecords.push_back(1 + static_cast<int32_t>(static_cast<int64_t>(l) * records / tests));
        index += std::to_string(testRecords.back()) + (l % 10 == 9 ? "\r\n" : " ");
    }
    Write(folder + "/tests.txt", index.data(), index.size());
    Write(folder + "/tests.i32", testRecords.data(), testRecords.size() * sizeof(int32_t));
    std::printf("%d records, %d tests, %d features\n", records, tests, features.featureCount);
    return 0;
}
