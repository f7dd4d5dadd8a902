#include "search/LibraryScan.h"

#include <algorithm>
#include <vector>

namespace kiv {

void ScanLibraryInBlocks(int32_t size, int length, const std::function<bool(int32_t)>& keepGoing,
                         const std::function<void(int32_t, double*)>& build,
                         const std::function<void(const double*, int, int32_t)>& compare)
{
    constexpr int kBlockRows = 256;
    std::vector<double> block(static_cast<size_t>(kBlockRows) * std::max(length, 0));
    int filled = 0;
    int32_t blockStart = 1;
    for (int32_t q = 1; q <= size; ++q) {
        if (!keepGoing(q)) break;
        if (filled == kBlockRows) {
            compare(block.data(), filled, blockStart);
            filled = 0;
            blockStart = q;
        }
        build(q, block.data() + static_cast<size_t>(filled) * length);
        ++filled;
    }
    compare(block.data(), filled, blockStart);
}

}  // namespace kiv
