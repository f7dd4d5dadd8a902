#pragma once
// Console output of Google Benchmark plus the time per iteration of each benchmark by its name
// (without the "/option" suffixes), so that a benchmark's main can print ratios between them.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace kiv::bench {

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.benchmark_name();
            seconds[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> seconds;  // in the benchmark's time unit
};

}  // namespace kiv::bench
