#pragma once

#include <cstdint>

#include "core/clock.h"

namespace veltra::core {

// The shared linear congruential generator: state := state * 1103515245 +
// 12345 (mod 2^32); a draw returns bits 16 to 30 of the new state (0..32767).
// Every randomized operation seeds it from the clock when it starts, so a
// fixed clock makes every result reproducible.
class RandomGenerator {
public:
    explicit RandomGenerator(const Clock& clock) : clock_(&clock) {}

    // Seeds with the clock's calendar time in whole seconds.
    void seed_random_from_clock() noexcept;
    void seed(std::uint32_t state) noexcept { state_ = state; }
    // The next value, 0..32767.
    int draw_random() noexcept;

    const Clock& clock() const noexcept { return *clock_; }

private:
    const Clock* clock_;
    std::uint32_t state_ = 1;
};

}  // namespace veltra::core
