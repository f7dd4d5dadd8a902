#include "matrix/Random.h"

namespace kiv {

void Psdes(uint32_t& leftWord, uint32_t& rightWord)
{
    static constexpr uint32_t c1[4] = {0xbaa96887u, 0x1e17d32cu, 0x03bcdc3cu, 0x0f33d1b2u};
    static constexpr uint32_t c2[4] = {0x4b0f3b58u, 0xe874f0c3u, 0x6955c5a6u, 0x55a7ca46u};
    for (int round = 0; round < 4; ++round) {
        const uint32_t swap = rightWord;
        const uint32_t a = rightWord ^ c1[round];
        const uint32_t low = a & 0xffffu;
        const uint32_t high = a >> 16;
        // All arithmetic is modulo 2^32, as the hash is defined on 32-bit words.
        const uint32_t b = low * low + ~(high * high);
        const uint32_t rotated = (b >> 16) | ((b & 0xffffu) << 16);
        rightWord = leftWord ^ ((rotated ^ c2[round]) + low * high);
        leftWord = swap;
    }
}

double CRandomPsdes::Next()
{
    uint32_t left = key_;
    uint32_t right = counter_;
    Psdes(left, right);
    ++counter_;
    // The mantissa of a float in [1, 2) minus 1: exactly (low 23 bits) / 2^23.
    return static_cast<double>(right & 0x7fffffu) / 8388608.0;
}

}  // namespace kiv
