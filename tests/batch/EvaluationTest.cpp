#include <gtest/gtest.h>

#include <cstring>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "base/Paths.h"
#include "batch/CommandRunner.h"
#include "library/Bib.h"

using namespace kiv;
using kiv::test::CRecordingReporter;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

using Peaks = kiv::test::LibraryPeaks;

// A descriptor set of 8-bit objects, one byte each.
void WriteDescriptors(const CScratchFolder& folder, const std::vector<unsigned char>& objects)
{
    WriteBytes(folder.Path("desc.txt"), "descriptors\r\nObjs:" + std::to_string(objects.size()) + "\r\nBits:8\r\n");
    WriteBytes(folder.Path("desc.bit"), std::string(objects.begin(), objects.end()));
}

void WriteIndex(const std::string& path, const std::vector<int>& values)
{
    std::string text = "index\r\n" + std::to_string(values.size()) + " 1\r\n";
    for (int v : values) text += std::to_string(v) + " ";
    WriteBytes(path, text + "\r\n");
}

std::string DrivingKeys(const CScratchFolder& folder)
{
    return "Progress File = " + folder.Path("progress.txt") + "\nSem End File = " + folder.Path("end.txt") +
           "\nStop File = " + folder.Path("stop.txt") + "\n";
}

CommandRunResult RunEvaluation(const CScratchFolder& folder, const std::string& keys)
{
    WriteBytes(folder.Path("cmd.txt"), DrivingKeys(folder) + "BIB File = " + folder.Path("lib.ssd") +
                                           "\nDescriptor File = " + folder.Path("desc.txt") + "\nResult File = " +
                                           folder.Path("res.txt") + "\n" + keys);
    return RunCommandFile(folder.Path("cmd.txt"));
}

// Five spectra: 1 and 2 equal, 5 nearly so, 4 with the heights swapped, 3 elsewhere.
const std::vector<Peaks> kSpectra = {
    {{41, 100}, {43, 50}}, {{41, 100}, {43, 50}}, {{55, 100}}, {{41, 50}, {43, 100}}, {{41, 100}, {43, 49}}};
const std::vector<unsigned char> kDescriptors = {0x07, 0x07, 0xC0, 0x0F, 0x03};

class Evaluation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kiv::test::WriteTestLibrary(folder.Path("lib.ssd"), kSpectra));
        WriteDescriptors(folder, kDescriptors);
        WriteIndex(folder.Path("tests.txt"), {1, 3});
    }
    std::string Result(const std::string& suffix) const { return ReadBytes(folder.Path("res" + suffix)); }
    CScratchFolder folder;
};

}  // namespace

TEST_F(Evaluation, VectorSimilarityOnSpectra)
{
    CRecordingReporter reporter;
    CommandRunResult result =
        RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") + "\nNo Hits = 3\nMax Mass = 100\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(reporter.messages.empty()) << reporter.messages[0];
    EXPECT_EQ(Result("_i.txt"), "      1      2      5      4\r\n      3      1      2      4\r\n");
    EXPECT_EQ(Result("_f.txt"), "  1.0000  1.0000  1.0000  0.8000\r\n  1.0000  0.0000  0.0000  0.0000\r\n");
    EXPECT_EQ(Result("_t.txt"), "  1.0000  1.0000  0.6667  0.7500\r\n  1.0000  0.0000  0.0000  0.0000\r\n");
    EXPECT_EQ(Result("_s.txt"), "mean tanimoto of 1-# hits for all test objects\r\n0.500000\r\n0.416667\r\n0.402778\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "1\r\n");
}

TEST_F(Evaluation, ShortLibraryLeavesEmptySlots)
{
    CommandRunResult result = RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") + "\nNo Hits = 6\n");
    EXPECT_EQ(result.status, 0);
    std::string similarities = Result("_f.txt");
    EXPECT_EQ(similarities.substr(similarities.find('\r') - 24, 24), "  0.0000 -0.9990 -0.9990");
    EXPECT_EQ(Result("_i.txt").substr(0, 51), "      1      2      5      4      3      0      0\r\n");
    EXPECT_EQ(Result("_t.txt").substr(0, 58), "  1.0000  1.0000  0.6667  0.7500  0.0000 -0.9990 -0.9990\r\n");
}

TEST_F(Evaluation, CriterionPutsTheQueryFirstOnce)
{
    CommandRunResult result = RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") +
                                              "\nNo Hits = 3\nSim Criterion = 2\nDel ident Hit1 = 1\n");
    EXPECT_EQ(result.status, 0);
    // Spectrum 3 has a single peak: too few values to compare, its hits are empty.
    EXPECT_EQ(Result("_i.txt"), "      1      2      5      4\r\n      3      0      0      0\r\n");
    EXPECT_EQ(Result("_f.txt"), "    1.0000    1.0000    1.0000    0.8000\r\n    1.0000    0.0000    0.0000    0.0000\r\n");
    EXPECT_EQ(Result("_t.txt"), "  1.0000  1.0000  0.6667  0.7500\r\n  1.0000 -0.9990 -0.9990 -0.9990\r\n");
}

TEST_F(Evaluation, RandomFeatureSubsets)
{
    WriteBytes(folder.Path("features.def"), "IM 41,43,55\r\n");
    // Features as the feature output writes them: five rows of three floats.
    std::string floats;
    for (const Peaks& peaks : kSpectra) {
        for (double mass : {41.0, 43.0, 55.0}) {
            float value = 0;
            for (auto [m, intensity] : peaks) {
                if (m == mass) value = static_cast<float>(intensity);
            }
            char bytes[4];
            std::memcpy(bytes, &value, 4);
            floats.append(bytes, 4);
        }
    }
    WriteBytes(folder.Path("features.bin"), floats);
    for (const char* ram : {"0", "1"}) {
        CommandRunResult result = RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") +
                                                  "\nFeature File = " + folder.Path("features.def") +
                                                  "\nSelect Features = 2\nRandom Runs = 2\nRandom Seed = 7\n"
                                                  "No Hits = 10\nFeatures Ram = " + ram + "\n");
        EXPECT_EQ(result.status, 0);
        std::string runs = Result("_runs.txt");
        ASSERT_EQ(std::count(runs.begin(), runs.end(), '\n'), 2);
        EXPECT_EQ(runs.substr(0, 22), "#        1         7 F");
        // No Hits 10: the results of k = 1 and 5 only.
        size_t results = runs.find(" Results1,5,20,100:");
        ASSERT_NE(results, std::string::npos);
        EXPECT_EQ(runs.find("\r\n") - results, 19u + 2 * 9);
        EXPECT_TRUE(FileExists(folder.Path("res_000007_f.txt")));
        EXPECT_TRUE(FileExists(folder.Path("res_000008_s.txt")));
    }
}

TEST_F(Evaluation, RandomPairs)
{
    CommandRunResult result = RunEvaluation(folder, "Random Pairs = 2\nRandom Seed = 3\nMax Mass = 60\n");
    EXPECT_EQ(result.status, 0);
    std::string records = Result("_i.txt");
    ASSERT_EQ(records.size(), 2u * 16);
    EXPECT_EQ(Result("_f.txt").size(), 2u * 12);
    std::string curve = Result("_s.txt");
    EXPECT_EQ(curve.substr(0, 48), "mean tanimoto of 1-# hits for all test objects\r\n");
    EXPECT_EQ(curve.size(), 48u + 10);
}

TEST_F(Evaluation, BadInputIsReportedAndTheRunGoesOn)
{
    WriteDescriptors(folder, {0x01, 0x02});  // two objects for a library of five
    WriteIndex(folder.Path("tests.txt"), {2, 99});
    CRecordingReporter reporter;
    CommandRunResult result = RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") + "\nNo Hits = 2\n");
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0], "1 test objects are not records of the library (1 to 5); they are left empty.");
    EXPECT_EQ(reporter.messages[1], "Descripor objects (2) does not match\nBIB objects (5)!");
    // Objects beyond the descriptors have Tanimoto 0; a test object outside the library has no
    // record, so none of its slots has a Tanimoto value.
    EXPECT_EQ(Result("_t.txt"), "  0.0000  1.0000  0.0000\r\n -0.9990 -0.9990 -0.9990\r\n");
}

TEST(EvaluationStop, StopFileEndsTheLoopAndKeepsThePartialTables)
{
    CScratchFolder folder;
    std::vector<Peaks> spectra;
    for (int i = 0; i < 250; ++i) spectra.push_back({{40.0 + i % 50, 100}, {90, 10.0 + i % 7}});
    ASSERT_TRUE(kiv::test::WriteTestLibrary(folder.Path("lib.ssd"), spectra));
    WriteDescriptors(folder, std::vector<unsigned char>(250, 0x01));
    WriteIndex(folder.Path("tests.txt"), {1});
    WriteBytes(folder.Path("stop.txt"), "");
    CommandRunResult result = RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") + "\nNo Hits = 3\n");
    EXPECT_EQ(result.status, -1);
    EXPECT_EQ(ReadBytes(folder.Path("end.txt")), "-1\r\n");
    EXPECT_EQ(ReadBytes(folder.Path("progress.txt")).substr(0, 4), "-1\r\n");
    // Only records 1 to 99 were compared: record 51 (base peak 40 like record 1) is the second
    // hit, then the records with the strongest peak at 90 (i % 7 = 6).
    EXPECT_EQ(ReadBytes(folder.Path("res_i.txt")), "      1     51      7     14\r\n");
}

TEST_F(Evaluation, EmptyTestIndexGivesEmptyTables)
{
    WriteBytes(folder.Path("tests.txt"), "no test objects\r\n");
    CRecordingReporter reporter;
    CommandRunResult result = RunEvaluation(folder, "Test Index File = " + folder.Path("tests.txt") + "\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"No Test Index loaded!"});
    EXPECT_EQ(Result("_i.txt"), "");
    // No mean over zero test objects: the heading alone, never "nan".
    EXPECT_EQ(Result("_s.txt"), "mean tanimoto of 1-# hits for all test objects\r\n");
}

TEST_F(Evaluation, CodesFromTenCompareUnderTheCodeLessTen)
{
    // Both tasks read "Sim Criterion" 10 + c as criterion c: the tables of 12 are those of 2.
    auto tables = [&](const std::string& keys) {
        CommandRunResult result = RunEvaluation(folder, keys);
        EXPECT_EQ(result.status, 0);
        return Result("_i.txt") + Result("_f.txt") + Result("_t.txt") + Result("_s.txt");
    };
    const std::string criterionKeys = "Test Index File = " + folder.Path("tests.txt") + "\nNo Hits = 3\nSim Criterion = ";
    const std::string underTwo = tables(criterionKeys + "2\n");
    EXPECT_EQ(tables(criterionKeys + "12\n"), underTwo);
    // Best candidates needs four common peaks, which these spectra do not have: had the code been
    // read as best candidates, every hit would be 0.
    EXPECT_NE(tables(criterionKeys + "7\n"), underTwo);

    const std::string pairKeys = "Random Pairs = 2\nRandom Seed = 3\nMax Mass = 60\nSim Criterion = ";
    EXPECT_EQ(tables(pairKeys + "14\n"), tables(pairKeys + "4\n"));
    // A cosine value, not the 0 of best candidates.
    EXPECT_EQ(Result("_f.txt"), "    0.8000\r\n    0.0000\r\n");
}
