#pragma once
// The mass spectral matrix (MSM) of a GC-MS run and the per-scan vectors derived from the
// library that holds the run (one block per scan, in elution order): base-peak intensity,
// retention time and index, total ion current. They live in the library's run data.
#include <cstdint>

#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv {

// First: the calculation after loading a run. Recalculation: after the records were changed
// (baseline correction, subtraction); it also renews each in-memory record's integer TIC.
enum class MsmPass { First, Recalculation };

// The heaviest mass a spectrum vector can hold, and so the largest MSM maximum mass in use.
constexpr int kHeaviestMass = 65535;

// Rebuilds the run data from the records. MSM row i holds the relative intensities of scan i at
// masses 1..M (M = "MSMMaxMass", at most kHeaviestMass); heavier masses are left out. TIC(i) = (sum of the relative
// vector) * Ibase(i) * 0.01 in every pass, so the TIC keeps one scale whether the run was
// imported or read from its file. A scan without a retention time gets the time of its
// retention index.
void ComputeMSM(CBib& bib, MsmPass pass);
// ComputeMSM(First) unless the run data is already computed.
void EnsureMSM(CBib& bib);

// Makes block b the library's current record with its spectrum in vector form, every stored
// mass kept (a run's scans and the references compared with them reach far above m/z 100).
// False when the block holds no spectrum.
bool SelectRunRecord(CBib& bib, int block);

// The ion trace of one mass over the run (1 x N, relative intensities): the MSM column when the
// MSM is computed, otherwise read record by record (0 where a spectrum ends below the mass).
CMatrix MassTrace(CBib& bib, int mass);

// A TIC as the integer that records carry: rounded, saturated to the int32 range.
int32_t RoundedTic(double tic);

// Number of scans of the run.
int ScanCount(const CBib& bib);

}  // namespace kiv
