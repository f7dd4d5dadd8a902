#include "base/Parallel.h"

#include <algorithm>
#include <thread>

namespace kiv {

void ParallelFor(int count, const std::function<void(int begin, int end)>& body)
{
    if (count <= 0) return;
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 2u));
    if (cores < 2 || count < 2) {
        body(0, count);
        return;
    }
    const int half = count / 2;
    std::thread helper([&] { body(half, count); });
    body(0, half);
    helper.join();
}

int ThreadCount(int requested)
{
    constexpr unsigned kMostThreads = 256;
    const unsigned wanted = requested > 0 ? static_cast<unsigned>(requested) : std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(wanted, 1u, kMostThreads));
}

}  // namespace kiv
