#pragma once
// A precomputed feature matrix in a file of 4-byte floats (one row of F features per library
// record, as the feature output writes it), held whole or read row by row so that the matrix
// need not fit in memory.
#include <cstdint>
#include <string>
#include <vector>

#include "matrix/Matrix.h"

namespace kiv {

class CFeatureRows {
public:
    // Opens the file of rows x features values; inMemory reads it whole at once. Reports
    // "Error opening features.bin" when it cannot be opened (every row then reads as zeros).
    CFeatureRows(const std::string& path, int rows, int features, bool inMemory);
    ~CFeatureRows();
    CFeatureRows(const CFeatureRows&) = delete;
    CFeatureRows& operator=(const CFeatureRows&) = delete;

    // Row k restricted to the subset (1-based feature numbers) into out.
    void Take(int k, const std::vector<int32_t>& subset, double* out);

private:
    CMatrix matrix_;
    bool inMemory_;
    bool open_ = false;
};

}  // namespace kiv
