#pragma once
// Spectral similarity of an unknown and a reference, both given as rows of feature matrices
// (for spectra: intensity by mass, base peak 100). Before comparing, intensities may be
// re-weighted by mass and compressed (TransformIntensities); only the selected columns count.
#include <cstdint>
#include <vector>

#include "matrix/Matrix.h"
#include "search/SimilarityCriterion.h"

namespace kiv {

// x -> x^b * 100 / 100^b, or with a mass exponent a != 0: j^a * x^b * 100 / (K^a * 100^b) for
// column j of K, so that an intensity of 100 in the last column stays 100.
void TransformIntensities(CMatrix& matrix, double intensityExponent, double massExponent);

// The columns a search compares: the listed ones (entries beyond K dropped from the end) or,
// for an empty list, all columns 1..K.
std::vector<int32_t> SelectColumns(const std::vector<int32_t>& listed, int32_t k);

// Similarity of unknown row and reference row under the criterion (0 for a row outside).
double Similarity(SimilarityCriterion criterion, const CMatrix& unknowns, int unknownRow, const CMatrix& references,
                  int referenceRow, const std::vector<int32_t>& columns);

// The same on plain arrays, 1-based through the column numbers (x[j - 1] is column j).
double Similarity(SimilarityCriterion criterion, const double* x, const double* r, const std::vector<int32_t>& columns);

}  // namespace kiv
