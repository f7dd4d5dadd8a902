#include "RunFixtures.h"

#include <algorithm>
#include <cmath>

namespace kiv::test {

void MakeRun(CBib& bib, const std::vector<std::vector<double>>& scans, const std::vector<double>& times)
{
    bib.Close();
    bib.Reset();
    bib.inMemory = 1;
    bib.header.typ = "GC-MS";
    for (size_t i = 0; i < scans.size(); ++i) {
        const std::vector<double>& scan = scans[i];
        CMassSpectrum& s = bib.record.spectrum;
        s.Clear();
        s.empty = 0;
        s.isVector = 1;
        const double largest = scan.empty() ? 0.0 : *std::max_element(scan.begin(), scan.end());
        s.vector.Alloc(1, static_cast<int>(scan.size()));
        for (size_t m = 0; m < scan.size(); ++m) {
            s.vector.Set(1, static_cast<int>(m) + 1, largest > 0 ? scan[m] * 100.0 / largest : 0.0);
        }
        s.firstMass = 1;
        s.lastMass = static_cast<uint16_t>(scan.size());
        s.basePeakIntensity = static_cast<uint32_t>(std::floor(largest + 0.5));
        s.retentionTime = i < times.size() ? times[i] : static_cast<double>(i) * 0.01 + 1.0;
        bib.record.id = static_cast<int32_t>(i) + 1;
        bib.AppendRecord();
    }
}

std::vector<std::vector<double>> GaussianRun(int n, int masses, const std::vector<GaussianPeak>& peaks, double drift0,
                                             double drift1)
{
    std::vector<std::vector<double>> run(static_cast<size_t>(n), std::vector<double>(static_cast<size_t>(masses)));
    for (int i = 0; i < n; ++i) {
        const double drift = drift0 + (drift1 - drift0) * i / std::max(n - 1, 1);
        for (int m = 0; m < masses; ++m) run[i][m] = drift;
        for (const GaussianPeak& peak : peaks) {
            const double z = (i + 1 - peak.apex) / peak.sigma;
            run[i][peak.mass - 1] += peak.height * std::exp(-0.5 * z * z);
        }
    }
    return run;
}

}  // namespace kiv::test
