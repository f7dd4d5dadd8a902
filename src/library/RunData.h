#pragma once
// The working data of a GC-MS run held in a library whose blocks are the run's scans in elution
// order: one value per scan and the mass spectral matrix (MSM, scans x nominal masses). The GC-MS
// processing computes it from the records; the library only keeps it and clears it on reset.
#include "matrix/Matrix.h"

namespace kiv {

struct CRunData {
    CMatrix ibase;  // 1 x N: absolute intensity of each scan's base peak
    CMatrix retentionTime;  // 1 x N
    CMatrix retentionIndex;  // 1 x N
    CMatrix tic;  // 1 x N: total ion current of each scan
    double largestIbase = 0;
    double largestTic = 0;
    CMatrix msm;  // N x M: row i the relative intensities (percent of base peak) of scan i
    int msmComputed = 0;  // 1 once the MSM and the vectors belong to the current records
};

}  // namespace kiv
