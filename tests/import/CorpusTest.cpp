// The JCAMP-DX corpus of tests/data/jcamp: one small file per style that real files come in,
// imported in one run, every block and every message checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ImportTestSupport.h"
#include "TestSupport.h"

namespace kiv::test {
namespace {

std::string CorpusFolder()
{
    const std::filesystem::path here(__FILE__);
    return (here.parent_path().parent_path() / "data" / "jcamp").string();
}

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder())) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string InCorpus(const std::string& name) { return CorpusFolder() + "/" + name; }

struct Expected {
    std::string name;
    std::vector<std::pair<double, double>> peaks;  // mass, percent of the base peak
    double retentionTime = 0;
};

void ExpectBlock(const CBibRecord& record, const Expected& expected)
{
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(record.name.name, expected.name);
    ASSERT_EQ(record.spectrum.peaks.Cols(), static_cast<int>(expected.peaks.size()));
    for (size_t j = 0; j < expected.peaks.size(); ++j) {
        EXPECT_NEAR(Mass(record, static_cast<int>(j + 1)), expected.peaks[j].first, 1e-9) << j;
        EXPECT_NEAR(Intensity(record, static_cast<int>(j + 1)), expected.peaks[j].second, 0.006) << j;
    }
    EXPECT_NEAR(record.spectrum.retentionTime, expected.retentionTime, 1e-6);
}

TEST(JcampCorpus, EveryFileInOneRun)
{
    CScratchFolder scratch;
    CRecordingReporter reporter;
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_EQ(files.size(), 17u);
    ImportOutcome outcome;
    const ReadBack lib = ImportAndRead(files, TextImportFormat::Jcamp, scratch.Path("corpus.ssd"), &outcome);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.filesOpened, 17);

    const std::vector<std::string> messages = {
        "No spectrum found in " + InCorpus("binary-junk.jdx"),
        "No spectrum found in " + InCorpus("empty.jdx"),
        "Infrared test skipped: data type INFRARED SPECTRUM is no mass spectrum (" + InCorpus("infrared-spectrum.jdx") +
            ", line 3)",
        "NMR test skipped: data type NMR SPECTRUM is no mass spectrum (" + InCorpus("nmr-ntuples.jdx") + ", line 3)",
        "No spectrum found in " + InCorpus("sd-file.sdf"),
        "NPOINTS 2, 3 points read (" + InCorpus("table-longer-than-npoints.jdx") + ", line 2)",
        "NPOINTS 5, 3 points read (" + InCorpus("table-shorter-than-npoints.jdx") + ", line 2)",
    };
    EXPECT_EQ(reporter.messages, messages);

    std::vector<Expected> expected = {
        {"Compressed profile", {{41, 10}, {42, 25}, {43, 100}, {44, 100}, {45, 100}, {49, 5}, {50, 12}}},
        {"Packed profile", {{55, 33.33}, {56, 66.67}, {57, 100}, {58, 16.67}}},
        {"Toluene", {{91, 100}, {92, 62.06}}},
        {"GC-MS export", {{41, 100}, {43, 50}}, 1.25},
        {"GC-MS export", {{57, 100}}, 1.5},
        {"GC-MS export", {{71, 50}, {85, 100}}},
        {"Ethanol", {{31, 100}, {45, 51.05}}},
        {"Methanol", {{31, 100}, {32, 66.07}}},
        {"Methanol", {{31, 100}, {32, 66.07}}},
        {"2-Chlorophenol", {{64, 31.03}, {128, 100}, {130, 32.03}}},
        {"Phenol", {{66, 20.02}, {94, 100}}},
        {"Benzene", {{78, 100}, {77, 22.02}}},
    };
    for (int page = 1; page < 50; ++page) {
        const double top = std::max(20, page);
        expected.push_back({page == 1 ? "GC-MS run of a test mixture" : "",
                            {{41, 1000.0 / top}, {43, 2000.0 / top}, {57, 100.0 * page / top}},
                            page * 0.5});
    }
    expected.push_back({"", {{41, 20}, {42, 40}, {43, 100}}, 25});
    expected.push_back({"Longer table", {{41, 33.33}, {43, 66.67}, {57, 100}}});
    expected.push_back({"Shorter table", {{41, 33.33}, {43, 66.67}, {57, 100}}});
    expected.push_back({"Zero padding", {{41, 33.33}, {43, 66.67}, {57, 100}}});
    ASSERT_EQ(lib.blocks.size(), expected.size());
    for (size_t b = 0; b < expected.size(); ++b) ExpectBlock(lib.blocks[b], expected[b]);

    // What the labels and tables carried besides the peaks.
    const CBibRecord& compressed = lib.blocks[0];
    EXPECT_EQ(compressed.spectrum.tic, 704);  // absolute intensities after YFACTOR 2
    EXPECT_EQ(compressed.spectrum.basePeakIntensity, 200u);
    EXPECT_EQ(compressed.spectrum.basePeakMass, 43);
    EXPECT_EQ(lib.blocks[2].name.cas, 108883);
    const CBibRecord& chlorophenol = lib.blocks[9];
    EXPECT_EQ(chlorophenol.name.cas, 95578);
    EXPECT_EQ(chlorophenol.name.formula, "C6 H5 Cl O");
    EXPECT_NEAR(chlorophenol.name.mw, 128.56, 1e-4);
    EXPECT_EQ(lib.blocks[10].name.cas, 108952);  // from the link block
    EXPECT_EQ(lib.blocks[11].name.cas, 71432);
    EXPECT_EQ(lib.blocks[11].name.formula, "C6 H6");
}

}  // namespace
}  // namespace kiv::test
