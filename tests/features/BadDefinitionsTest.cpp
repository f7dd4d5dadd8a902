#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "FeatureTestSupport.h"
#include "TestSupport.h"
#include "features/DefinitionLine.h"
#include "features/FeatureDefinitionSet.h"

using namespace kiv;
using namespace kiv::test;

// Damaged or hostile definitions must give bounded work and memory, never a crash.
TEST(BadDefinitions, HugeListsAndNumbers)
{
    CMatrix s = MakeSpectra(200, {{{64, 100}, {65, 30}}, {{100, 100}}});
    const CMatrix input = s;
    CRecordingReporter reporter;
    FeatureDefinitionSet set = FirstPass(
        {
            "LR 1 1-2000000000 0 1",  // 65535 masses + 2000000000
            "MD 2000000000 -2147483648 2147483647 S",  // residues up to the highest possible mass
            "IM 1-2000000000,1/2147483647",  // 1..65535, 2000000000, 1-2147483647
            "IML 2147483647 64,2147483647",
            "AC -2147483648 2147483647 1,2147483647",
            "LR 2147483647 2147483647 3 1e400",  // threshold overflows to infinity
            "SCI 1e999 -1e999 1e999 M",
            "IMTP1e999 64",
            "IMTL-1e400 64",
            "PG g MP1e999 64",
            "PG g MEAN2147483647 64,65",
            "PPS p ALL -2147483648 2147483647 2147483647 1e999 -2147483648 5",
            "PPS p ALL 1 2147483647 2147483647 100 1 100",
            "TYP ALL -2147483648 2147483647",
        },
        s);
    EXPECT_EQ(set.featureCount, 65536 + 65535 + 65537 + 2 + 2 + 1 + 1 + 1 + 1 + 1 + 6 + 6 + 3);
    EXPECT_EQ(set.features.Rows(), 2);
    EXPECT_TRUE(reporter.messages.empty());
    // The spectra come back bit for bit, whatever the scaling line did to them.
    for (int j = 1; j <= 200; ++j) EXPECT_EQ(s.Get(1, j), input.Get(1, j));
    // Residue 64 of the huge modulus holds the intensity at mass 64 (sum-normalised).
    EXPECT_NEAR(set.features.Get(1, 65536 + 64), 100.0 / 130 * 100, 1e-9);
}

TEST(BadDefinitions, LongLinesAndLongPatterns)
{
    // Thousands of pattern pairs on one (programmatically built) line, and very long fields.
    std::string pattern = "PPS long ALL 1 400";
    for (int m = 1; m <= 3000; ++m) pattern += " " + std::to_string(m % 250 + 1) + " " + std::to_string(m % 100);
    std::string longList = "PG g ALL ";
    for (int i = 0; i < 2000; ++i) longList += std::to_string(i % 300) + ",";
    std::string longKeyword(5000, 'Q');
    std::string blanks = "MD" + std::string(3000, ' ') + "3";
    CMatrix s = MakeSpectra(300, {{{64, 100}, {77, 50}}});
    CRecordingReporter reporter;
    FeatureDefinitionSet set = FirstPass({pattern, longList, longKeyword, blanks, "IMTP" + std::string(2000, '9')}, s);
    // The blank-separated fields of the "MD" line are empty: modulus 0, no feature.
    EXPECT_EQ(set.featureCount, 6 + 8 + 0 + 0 + 1);
    EXPECT_EQ(set.features.Rows(), 1);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(BadDefinitions, FeatureCountIsBounded)
{
    // Each line expands to 65535 features; the fifth would pass the limit and is refused.
    std::vector<std::string> lines(5, "IML 1 1-65535");
    lines.push_back("IM 64");
    CMatrix s = MakeSpectra(100, {{{64, 100}}});
    CRecordingReporter reporter;
    FeatureDefinitionSet set = FirstPass(lines, s);
    EXPECT_EQ(set.featureCount, 4 * 65535 + 1);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Too many features: definition line 5 ignored!"});
    EXPECT_DOUBLE_EQ(set.features.Get(1, set.featureCount), 100);
    EXPECT_LE(set.featureCount, kMaxFeatureCount);
}

TEST(BadDefinitions, SpectraWithoutMasses)
{
    const std::vector<std::string> every{"SCI 10 2 1 M", "MD",   "LR 1 5 0 1",  "AC 1 9 1", "IM 1/9", "IMTS 5",
                                         "IML 1 5",      "TYP",  "PG g ALL 5",  "SP PYRIMID01 ALL",
                                         "PPS p ALL 1 50 5 100 6 50"};
    CRecordingReporter reporter;
    CMatrix noMasses(2, 0);
    FeatureDefinitionSet set = FirstPass(every, noMasses);
    EXPECT_EQ(set.features.Rows(), 2);
    EXPECT_EQ(set.featureCount, 14 + 1 + 1 + 1 + 1 + 1 + 3 + 8 + 8 + 6);
    // Columns: MD 1-14, LR 15, AC 16, IM 17, IMTS 18, IML 19, TYP 20-22, PG 23-30, SP 31-38,
    // PPS 39-44. Non-zero without any mass: the mode 0 ratio (50), PROD1's empty product (1,
    // halved by the pattern rule), and the distances of the pattern from nothing.
    std::map<int, double> nonZero{{15, 50}, {24, 1}, {32, 0.5}, {41, 100 - std::sqrt(12500.0) * 100 / std::sqrt(20000.0)},
                                  {42, 100 - 150 / 2.0}};
    for (int j = 1; j <= set.featureCount; ++j) {
        EXPECT_DOUBLE_EQ(set.features.Get(2, j), nonZero.count(j) ? nonZero[j] : 0.0) << "column " << j;
    }
    CMatrix nothing;
    set.ComputeFeatures(nothing, 0);
    EXPECT_EQ(set.features.Rows(), 0);
    EXPECT_EQ(set.names.size(), 44u);
}

TEST(BadDefinitions, DefinitionFileWithoutText)
{
    CScratchFolder folder;
    const std::string path = folder.Path("binary.txt");
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes.push_back(static_cast<char>(i * 37 % 256));
    WriteBytes(path, bytes);
    FeatureDefinitionSet set;
    set.definitionFile = path;
    EXPECT_EQ(set.LoadDefinitions(), FileResult::Done);
    for (const std::string& line : set.lines) EXPECT_LE(line.size(), 1024u);
    CMatrix s = MakeSpectra(100, {{{64, 100}}});
    CRecordingReporter reporter;
    set.ComputeFeatures(s, 0);
    EXPECT_EQ(set.featureCount, static_cast<int>(set.names.size()));
}
