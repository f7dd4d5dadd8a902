#include "batch/HitStatistics.h"

#include <algorithm>
#include <cmath>

#include "base/Numbers.h"
#include "base/Paths.h"
#include "base/TextFile.h"

namespace kiv {

namespace {

constexpr int kBins = 52;  // 0.02 wide, bin 51 holds similarity 1.0, bin 52 anything above
constexpr int kHitsRead = 10;
constexpr size_t kTableLineLength = 65535;

struct Accumulator {
    long count = 0;
    double sum = 0;
    double sumOfSquares = 0;

    void Add(double t)
    {
        ++count;
        sum += t;
        sumOfSquares += t * t;
    }
    double Mean() const { return count < 1 ? 0.0 : sum / count; }
    double StandardDeviation() const
    {
        if (count < 2) return 0.0;
        // Rounding can push the variance of equal values a hair below zero.
        return std::sqrt(std::max(0.0, (sumOfSquares - sum * sum / count) / (count - 1)));
    }
};

// Rows: hit 1, hits 1-5, hits 1-10.
using Table = Accumulator[3][kBins + 1];

// The numbers of a table line after its first one (the query's own column), at most kHitsRead.
int ReadHits(std::string_view line, double (&values)[kHitsRead])
{
    int read = -1;
    while (read < kHitsRead) {
        size_t start = line.find_first_not_of(" \t\n\r\v\f");
        if (start == std::string_view::npos) break;
        line.remove_prefix(start);
        double value = 0;
        size_t used = ScanReal(line, value);
        if (used == 0) break;
        line.remove_prefix(used);
        if (read >= 0) values[read] = value;
        ++read;
    }
    return std::max(read, 0);
}

int BinOf(double similarity)
{
    return std::clamp(static_cast<int>(std::ceil(50.0 * similarity)) + 1, 1, kBins);
}

void WriteTable(const std::string& path, const Table& table)
{
    CTextWriter out;
    if (!out.Open(path)) return;
    out.Write("SpecSim      T1    T1-5   T1-10   no T1 no T1-5 noT1-10    std T1  std T1-5 std T1-10\n");
    for (int bin = 1; bin <= kBins; ++bin) {
        out.Print("%7.5f ", (bin - 1) * 0.02);
        for (int row = 0; row < 3; ++row) out.Print("%7.5f ", table[row][bin].Mean());
        for (int row = 0; row < 3; ++row) out.Print("%7ld ", table[row][bin].count);
        out.Print("%9.5f ", table[0][bin].StandardDeviation());
        out.Print("%9.5f ", table[1][bin].StandardDeviation());
        out.Print("%9.5f", table[2][bin].StandardDeviation());
        out.Write("\n");
    }
}

}  // namespace

void RunHitStatistics(CBatchRun& run)
{
    run.status = kRunCompleted;
    const std::string stem = WithoutLast(run.settings.resultFile, 4);
    CTextReader similarities, tanimotos;
    if (!similarities.Open(stem + "_f.txt") || !tanimotos.Open(stem + "_t.txt")) return;

    Table table;
    std::string similarityLine, tanimotoLine;
    for (;;) {
        bool similarityRead = similarities.ReadLine(similarityLine, kTableLineLength);
        if (!tanimotos.ReadLine(tanimotoLine, kTableLineLength) || !similarityRead) break;
        double s[kHitsRead], t[kHitsRead];
        // A hit counts only when both tables hold it: short rows (a run with fewer hits) must
        // not add phantom hits of similarity 0.
        int hits = std::min(ReadHits(similarityLine, s), ReadHits(tanimotoLine, t));
        for (int j = 0; j < hits; ++j) {
            int bin = BinOf(s[j]);
            if (j == 0) table[0][bin].Add(t[j]);
            if (j < 5) table[1][bin].Add(t[j]);
            table[2][bin].Add(t[j]);
        }
    }
    WriteTable(stem + "_c.txt", table);
}

}  // namespace kiv
