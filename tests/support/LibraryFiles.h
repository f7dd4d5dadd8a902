#pragma once
// Small spectral libraries written by the tests through the library writer.
#include <string>
#include <utility>
#include <vector>

#include "library/Bib.h"

namespace kiv::test {

// (mass, intensity) peaks of one spectrum; an empty list writes a block without a spectrum.
using LibraryPeaks = std::vector<std::pair<double, double>>;

// A peak-list spectrum normalised to base peak 100.
CMassSpectrum PeakListSpectrum(const LibraryPeaks& peaks);

// Writes a new library with one block per spectrum, record IDs 1, 2, ... (no index yet, so
// its header still holds the block count 0 until the index is rebuilt on opening).
bool WriteTestLibrary(const std::string& path, const std::vector<LibraryPeaks>& spectra);

// Opens a library as the view does: data file, index (rebuilt when missing), header.
bool OpenTestLibrary(CBib& bib, const std::string& path);

}  // namespace kiv::test
