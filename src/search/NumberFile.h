#pragma once
// Lists of record or feature numbers kept as titled integer matrix files (a test index, a
// feature index): the values in the file's order, row by row.
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

// The values of the file; empty when it cannot be read or holds none.
std::vector<int32_t> LoadNumberFile(const std::string& path);

}  // namespace kiv
