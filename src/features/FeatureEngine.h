#pragma once
// The feature engine: evaluates the definition lines of a set, in order, on a block of spectra
// (one per row, column m = nominal mass m, base peak 100) and writes each line's feature
// columns next to those of the lines before it.
#include <cstdint>

#include "features/DefinitionLine.h"
#include "features/EngineContext.h"
#include "matrix/Matrix.h"

namespace kiv {

// Spectrum i's features go to row rowOffset + i of target, starting at column 1; cells outside
// target are dropped. Each line first reports the messages of its missing fields. "SCI" lines
// change the spectra for the lines after them, always starting from the spectra as passed in;
// before returning, spectra hold exactly what they held on entry. A featureQuantisation of 10
// rounds every value to one of 256 levels (QuantiseFeature).
void EvaluateDefinitions(const ParsedDefinitions& definitions, CMatrix& spectra, CMatrix& target, int64_t rowOffset,
                         int featureQuantisation, EngineScratch& scratch);

// floor(v * 2.55 + 0.500000000001) * 100 / 255: the 0..100 scale in 256 steps, so that values
// survive the one-byte feature output unchanged.
double QuantiseFeature(double value);

}  // namespace kiv
