#pragma once
// What a feature family sees while the engine evaluates one definition line: the block of
// spectra (one per row, column m = nominal mass m, base peak 100) and the cells it fills.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "matrix/Matrix.h"

namespace kiv {

// Intensities of one spectrum; a mass outside 1..M reads 0.
class CSpectrumRow {
public:
    CSpectrumRow(const double* first, int highestMass) : first_(first), highestMass_(highestMass) {}
    double operator()(int64_t mass) const
    {
        return mass >= 1 && mass <= highestMass_ ? first_[mass - 1] : 0.0;
    }
    // Only for 1 <= mass <= M.
    double At(int64_t mass) const { return first_[mass - 1]; }
    // Masses 1..M, contiguous.
    const double* Data() const { return first_; }
    int HighestMass() const { return highestMass_; }

private:
    const double* first_;
    int highestMass_;
};

// Ascending masses of a spectrum, a superset of those with non-zero intensity.
struct CPeakMasses {
    const int* first = nullptr;
    const int* last = nullptr;
    const int* begin() const { return first; }
    const int* end() const { return last; }
};

// m^c for the masses m = 0, 1, ... of the "SCI" mass weighting with exponent c: the same for
// every spectrum, so it is worked out once per run instead of once per peak.
struct MassWeights {
    double exponent = 0;
    std::vector<double> powers;  // powers[m] = pow(m, exponent)
};

// Buffers reused from call to call, so that a library-wide run does not allocate per spectrum.
struct EngineScratch {
    std::vector<double> backup;  // the spectra as passed in, while "SCI" lines change them
    std::vector<double> values;  // per-line working values (residue sums, best pattern scores)
    // The sums of a pattern at each of its positions on one spectrum (PatternFamilies.cpp).
    struct PatternPositions {
        std::vector<double> sxy, syy, largest, squares, absolutes, fit, found, r;
    } positions;
    std::vector<int> peakMasses;  // masses of the non-zero intensities, spectrum after spectrum
    std::vector<size_t> peakStarts;  // where each spectrum's masses begin (one extra at the end)
    std::vector<MassWeights> massWeights;  // one table per weighting exponent met so far
    bool peaksBuilt = false;
};

// The spectra matrix S: G spectra of M masses.
//
// Mass spectra are sparse (a few dozen peaks over hundreds of masses), so sums over wide mass
// windows run over the list of non-zero masses, taken once per call. No spectrum transformation
// of the engine turns a zero intensity into a non-zero one, so the list stays a valid superset
// while "SCI" lines change the spectra. Summing only the non-zero terms in ascending mass order
// gives the same sums as summing every mass.
class CSpectraView {
public:
    CSpectraView(const CMatrix& spectra, EngineScratch& scratch) : spectra_(spectra), scratch_(scratch)
    {
        scratch_.peaksBuilt = false;
    }
    int Count() const { return spectra_.Rows(); }
    int HighestMass() const { return spectra_.Cols(); }
    CSpectrumRow Spectrum(int i) const
    {
        return {spectra_.Data() + static_cast<size_t>(i - 1) * static_cast<size_t>(HighestMass()), HighestMass()};
    }

    // Masses lo..hi of spectrum i that may carry intensity.
    CPeakMasses Peaks(int i, int64_t lo, int64_t hi) const
    {
        if (!scratch_.peaksBuilt) BuildPeaks();
        const int* first = scratch_.peakMasses.data() + scratch_.peakStarts[static_cast<size_t>(i - 1)];
        const int* last = scratch_.peakMasses.data() + scratch_.peakStarts[static_cast<size_t>(i)];
        if (lo > hi) return {first, first};
        return {std::lower_bound(first, last, lo), std::upper_bound(first, last, hi)};
    }

private:
    void BuildPeaks() const
    {
        // Every mass is written and the cursor only moves past the non-zero ones: no branch
        // on the intensities, whose zeros follow no pattern.
        const int M = HighestMass();
        std::vector<int>& masses = scratch_.peakMasses;
        scratch_.peakStarts.assign(1, 0);
        size_t n = 0;
        for (int i = 1; i <= Count(); ++i) {
            if (masses.size() < n + static_cast<size_t>(M)) masses.resize(n + static_cast<size_t>(M));
            const double* row = spectra_.Data() + static_cast<size_t>(i - 1) * static_cast<size_t>(M);
            for (int m = 1; m <= M; ++m) {
                masses[n] = m;
                n += row[m - 1] != 0.0 ? 1 : 0;
            }
            scratch_.peakStarts.push_back(n);
        }
        scratch_.peaksBuilt = true;
    }

    const CMatrix& spectra_;
    EngineScratch& scratch_;
};

// The feature cells of one line: spectrum i, feature column j of the line (both 1-based). In a
// first pass they lie in the new feature matrix, in a row pass in rows r.. of the existing
// one; cells outside that matrix are dropped (a row pass beyond its end writes nothing).
class CFeatureTarget {
public:
    CFeatureTarget(CMatrix& features, int64_t rowOffset, int64_t columnOffset, int columnCount)
        : data_(features.Data()),
          stride_(features.Cols()),
          // The spectra and columns whose cells lie inside the matrix, worked out once per line
          // so that each cell costs two comparisons.
          rows_(std::clamp<int64_t>(features.Rows() - rowOffset, 0, features.Rows())),
          columns_(static_cast<int>(std::clamp<int64_t>(features.Cols() - columnOffset, 0, columnCount))),
          first_(rowOffset * features.Cols() + columnOffset),
          columnCount_(columnCount)
    {
    }
    int Columns() const { return columnCount_; }
    void Set(int spectrum, int column, double value)
    {
        // Never spill into the next line's columns, nor outside the matrix.
        if (Inside(spectrum, column)) data_[Cell(spectrum, column)] = value;
    }
    double Get(int spectrum, int column) const { return Inside(spectrum, column) ? data_[Cell(spectrum, column)] : 0.0; }

private:
    bool Inside(int spectrum, int column) const
    {
        return static_cast<uint64_t>(spectrum - 1) < static_cast<uint64_t>(rows_) &&
               static_cast<unsigned>(column - 1) < static_cast<unsigned>(columns_);
    }
    int64_t Cell(int spectrum, int column) const
    {
        return first_ + int64_t(spectrum - 1) * stride_ + (column - 1);
    }

    double* data_;
    int64_t stride_;
    int64_t rows_;
    int columns_;
    int64_t first_;
    int columnCount_;
};

}  // namespace kiv
