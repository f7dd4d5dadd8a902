#pragma once
// The retention-index window of the spectral search. GC-MS identification gains much from the
// retention index: a reference whose index lies far from the unknown's is rarely the compound,
// however similar the spectra. With the parameter "RI Window" set to w > 0, a reference is
// left out of an unknown's hitlist when both carry a retention index and the two differ by
// more than w; a spectrum without an index passes. 0 (the default) switches the window off.
#include <vector>

#include "library/Bib.h"
#include "matrix/MatrixI.h"

namespace kiv {

struct CRetentionIndices {
    std::vector<double> unknowns;  // element k: unknown row k + 1; 0 = none
    std::vector<double> references;  // element k: reference row k + 1; 0 = none

    // True when the reference may enter the unknown's hitlist (1-based rows).
    bool Pass(double window, int unknown, int reference) const;
    double Unknown(int row) const { return At(unknowns, row); }
    double Reference(int row) const { return At(references, row); }

private:
    static double At(const std::vector<double>& indices, int row)
    {
        return row >= 1 && static_cast<size_t>(row) <= indices.size() ? indices[static_cast<size_t>(row - 1)] : 0;
    }
};

// The retention index of the given blocks of a library (0 for a block without one or that
// cannot be read); the library's current record is left at the last block read.
std::vector<double> RetentionIndicesOf(CBib& bib, const CMatrixI& blocks);
// The same for blocks 1..count.
std::vector<double> RetentionIndicesOf(CBib& bib, int count);

}  // namespace kiv
