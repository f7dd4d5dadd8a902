#pragma once
// The pass of an evaluation over its library: every record is turned into its vector once, and
// the vectors are handed on in blocks so that each block is compared with all test vectors at
// once.
#include <cstdint>
#include <functional>

namespace kiv {

// Streams records 1..size through a buffer of library vectors (length values each): before
// record q keepGoing(q) is asked (false ends the scan), build(q, out) writes its vector, and
// compare(block, rows, first record) gets every full block and the last one.
void ScanLibraryInBlocks(int32_t size, int length, const std::function<bool(int32_t)>& keepGoing,
                         const std::function<void(int32_t, double*)>& build,
                         const std::function<void(const double*, int, int32_t)>& compare);

}  // namespace kiv
