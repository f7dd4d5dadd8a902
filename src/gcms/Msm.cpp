#include "gcms/Msm.h"

#include <algorithm>
#include <cmath>

#include "gcms/RetentionConversion.h"

namespace kiv {

namespace {

constexpr double kNoTime = 1e-12;

// The relative intensity vector of scan i without touching the current record where possible.
const CMassSpectrum* ScanVector(CBib& bib, int block, CMassSpectrum& spare)
{
    if (bib.inMemory) {
        const size_t index = static_cast<size_t>(block - 1);
        if (index >= bib.memorySpectra.size()) return nullptr;
        const CMassSpectrum& stored = bib.memorySpectra[index];
        if (stored.isVector) return &stored;
        spare = stored;
        spare.ToVector();
        return &spare;
    }
    if (!SelectRunRecord(bib, block)) return nullptr;
    return &bib.record.spectrum;
}

// Copies masses 1..min(L, M) into the MSM row and returns the sum of the whole vector.
double FillMsmRow(const CMassSpectrum& spectrum, CMatrix& msm, int row)
{
    const auto values = spectrum.vector.Row(1);
    const int shared = std::min(values.size(), msm.Cols());
    if (shared > 0) std::copy(values.begin(), values.begin() + shared, msm.Row(row).begin());
    double sum = 0;
    for (double v : values) sum += v;
    return sum;
}

// Largest element of a vector, 0 for an empty vector or one without positive values.
double LargestValue(const CMatrix& v)
{
    double largest = 0;
    for (double x : v.Flat()) largest = std::max(largest, x);
    return largest;
}

}  // namespace

int32_t RoundedTic(double tic)
{
    const double rounded = std::floor(tic + 0.5);
    if (!(rounded > INT32_MIN)) return INT32_MIN;  // NaN as well
    return rounded >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(rounded);
}

int ScanCount(const CBib& bib) { return std::max(bib.header.blockCount, 0); }

bool SelectRunRecord(CBib& bib, int block)
{
    bib.SelectBlock(block, SpectrumReading::AsStored);
    CMassSpectrum& spectrum = bib.record.spectrum;
    if (spectrum.empty) return false;
    spectrum.ToVector();
    return true;
}

void ComputeMSM(CBib& bib, MsmPass pass)
{
    const int n = ScanCount(bib);
    const int maxMass = std::clamp(bib.parameters.msmMaxMass, 0, kHeaviestMass);
    CRunData& run = bib.run;
    const int previousBlock = bib.currentBlock;
    run.ibase.Alloc(1, n);
    run.retentionTime.Alloc(1, n);
    run.retentionIndex.Alloc(1, n);
    run.tic.Alloc(1, n);
    run.msm.Alloc(n, maxMass);
    CMassSpectrum spare;
    for (int i = 1; i <= n; ++i) {
        const CMassSpectrum* spectrum = ScanVector(bib, i, spare);
        if (spectrum == nullptr) continue;
        double time = spectrum->retentionTime;
        if (time < kNoTime) time = RetentionTimeFromIndex(bib.parameters, spectrum->retentionIndex);
        run.retentionIndex.Set(1, i, spectrum->retentionIndex);
        run.retentionTime.Set(1, i, time);
        const double ibase = spectrum->basePeakIntensity;
        run.ibase.Set(1, i, ibase);
        const double tic = FillMsmRow(*spectrum, run.msm, i) * ibase * 0.01;
        run.tic.Set(1, i, tic);
        if (pass == MsmPass::Recalculation && bib.inMemory) {
            bib.memorySpectra[static_cast<size_t>(i - 1)].tic = RoundedTic(tic);
        }
    }
    run.largestIbase = LargestValue(run.ibase);
    run.largestTic = LargestValue(run.tic);
    run.msmComputed = 1;
    if (!bib.inMemory && previousBlock > 0) bib.SelectBlock(previousBlock);
}

void EnsureMSM(CBib& bib)
{
    if (!bib.run.msmComputed) ComputeMSM(bib, MsmPass::First);
}

CMatrix MassTrace(CBib& bib, int mass)
{
    const int n = ScanCount(bib);
    CMatrix trace(1, n);
    if (bib.run.msmComputed) {
        for (int i = 1; i <= n; ++i) trace.Set(1, i, bib.run.msm.Get(i, mass));
        return trace;
    }
    CMassSpectrum spare;
    for (int i = 1; i <= n; ++i) {
        const CMassSpectrum* spectrum = ScanVector(bib, i, spare);
        if (spectrum != nullptr) trace.Set(1, i, spectrum->vector.Get(1, mass));
    }
    return trace;
}

}  // namespace kiv
