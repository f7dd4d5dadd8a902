#include "search/FeatureRows.h"

#include <algorithm>

#include "base/Reporter.h"

namespace kiv {

CFeatureRows::CFeatureRows(const std::string& path, int rows, int features, bool inMemory) : inMemory_(inMemory)
{
    matrix_.Alloc(inMemory ? rows : 1, features);
    open_ = matrix_.OpenBin(path);
    if (!open_) {
        ReportRunTimeError("Error opening features.bin");
        return;
    }
    if (inMemory_) matrix_.ReadBin();
}

CFeatureRows::~CFeatureRows() { matrix_.CloseBin(); }

void CFeatureRows::Take(int k, const std::vector<int32_t>& subset, double* out)
{
    if (!open_) {
        std::fill(out, out + subset.size(), 0.0);
        return;
    }
    int row = k;
    if (!inMemory_) {
        matrix_.ReadBinRow(k);
        row = 1;
    }
    for (size_t i = 0; i < subset.size(); ++i) out[i] = matrix_.Get(row, subset[i]);
}

}  // namespace kiv
