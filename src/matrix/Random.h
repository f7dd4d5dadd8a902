#pragma once
// Counter-based random numbers from the pseudo-DES hash: a 32-bit counter and a 32-bit key
// pass through four rounds of the psdes mixing function (Press et al.), the low 23 bits of the
// result become a uniform number in [0, 1). Draws depend only on key and counter, so a seed
// that sets the counter reproduces a random subset exactly.
#include <cstdint>

namespace kiv {

// The four-round mixing function; leftWord is the key half, rightWord the counter half on
// entry. Both are replaced by the hashed pair.
void Psdes(uint32_t& leftWord, uint32_t& rightWord);

class CRandomPsdes {
public:
    // The key word used throughout the system. Nothing ever keys the generator, so the key keeps
    // this initial value 0 and only the counter (set from a seed) selects the stream.
    static constexpr uint32_t kDefaultKey = 0;

    explicit CRandomPsdes(uint32_t key = kDefaultKey) : key_(key) {}

    void SetCounter(uint32_t counter) { counter_ = counter; }
    uint32_t Counter() const { return counter_; }

    // Uniform in [0, 1) with 23-bit resolution; advances the counter.
    double Next();

private:
    uint32_t key_;
    uint32_t counter_ = 0;
};

}  // namespace kiv
