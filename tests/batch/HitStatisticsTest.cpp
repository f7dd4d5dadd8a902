#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "batch/HitStatistics.h"

using namespace kiv;
using kiv::test::CScratchFolder;
using kiv::test::ReadBytes;
using kiv::test::WriteBytes;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size());  // every line ends in CR LF
    return lines;
}

}  // namespace

TEST(HitStatistics, BinsMeansAndDeviations)
{
    CScratchFolder folder;
    WriteBytes(folder.Path("run_f.txt"), "   1.0000   1.0000   0.5000  -0.9990\r\n   1.0000   1.0001   0.5000\r\n");
    WriteBytes(folder.Path("run_t.txt"),
               "   1.0000   0.8000   0.4000  -0.9990\r\n   1.0000   0.6000   0.6000\r\n"
               "   1.0000   0.1000\r\n");  // "_f.txt" has ended: not counted
    CBatchRun run;
    run.settings.resultFile = folder.Path("run.txt");
    RunHitStatistics(run);
    EXPECT_EQ(run.status, 0);

    std::vector<std::string> lines = Lines(ReadBytes(folder.Path("run_c.txt")));
    ASSERT_EQ(lines.size(), 53u);
    EXPECT_EQ(lines[0], "SpecSim      T1    T1-5   T1-10   no T1 no T1-5 noT1-10    std T1  std T1-5 std T1-10");
    EXPECT_EQ(lines[1], "0.00000 0.00000 -0.99900 -0.99900       0       1       1   0.00000   0.00000   0.00000");
    EXPECT_EQ(lines[2], "0.02000 0.00000 0.00000 0.00000       0       0       0   0.00000   0.00000   0.00000");
    EXPECT_EQ(lines[26], "0.50000 0.00000 0.50000 0.50000       0       2       2   0.00000   0.14142   0.14142");
    // Similarity exactly 1.0 falls into bin 51, anything above into bin 52.
    EXPECT_EQ(lines[51], "1.00000 0.80000 0.80000 0.80000       1       1       1   0.00000   0.00000   0.00000");
    EXPECT_EQ(lines[52], "1.02000 0.60000 0.60000 0.60000       1       1       1   0.00000   0.00000   0.00000");
}

TEST(HitStatistics, TenHitsPerRowAndRowsOfEqualValues)
{
    CScratchFolder folder;
    std::ostringstream f, t;
    for (int row = 0; row < 3; ++row) {
        f << "   1.0000";
        t << "   1.0000";
        for (int hit = 1; hit <= 12; ++hit) {
            f << "   0.9000";
            t << "   0.3000";
        }
        f << "\r\n";
        t << "\r\n";
    }
    WriteBytes(folder.Path("r_f.txt"), f.str());
    WriteBytes(folder.Path("r_t.txt"), t.str());
    CBatchRun run;
    run.settings.resultFile = folder.Path("r.txt");
    RunHitStatistics(run);
    std::vector<std::string> lines = Lines(ReadBytes(folder.Path("r_c.txt")));
    ASSERT_EQ(lines.size(), 53u);
    // Hits 11 and 12 are not read; equal values give a deviation of exactly 0, never "nan".
    EXPECT_EQ(lines[46], "0.90000 0.30000 0.30000 0.30000       3      15      30   0.00000   0.00000   0.00000");
}

TEST(HitStatistics, MissingTablesWriteNothing)
{
    CScratchFolder folder;
    WriteBytes(folder.Path("r_f.txt"), "1 1\r\n");
    CBatchRun run;
    run.settings.resultFile = folder.Path("r.txt");
    RunHitStatistics(run);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadBytes(folder.Path("r_c.txt")), "");
}
