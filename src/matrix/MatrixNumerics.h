#pragma once
// CMatrixNumerics: the matrix type most of the system declares. It adds no data to CMatrix;
// the numerical routines (inversion, decompositions, statistics, fits) are its operations.
// Any CMatrix result converts to it implicitly.
#include <utility>

#include "matrix/Matrix.h"

namespace kiv {

class CMatrixNumerics : public CMatrix {
public:
    CMatrixNumerics() = default;
    CMatrixNumerics(int rows, int cols) : CMatrix(rows, cols) {}
    CMatrixNumerics(const CMatrix& other) : CMatrix(other) {}
    CMatrixNumerics(CMatrix&& other) noexcept : CMatrix(std::move(other)) {}
    CMatrixNumerics(const CMatrixNumerics&) = default;
    CMatrixNumerics(CMatrixNumerics&&) noexcept = default;
    CMatrixNumerics& operator=(const CMatrixNumerics&) = default;
    CMatrixNumerics& operator=(CMatrixNumerics&&) noexcept = default;
    ~CMatrixNumerics() override = default;
};

}  // namespace kiv
