#include "core/random.h"

namespace veltra::core {

void RandomGenerator::seed_random_from_clock() noexcept {
    // The low 32 bits of the time, as a 32-bit seed takes them.
    state_ = static_cast<std::uint32_t>(clock_->now_seconds());
}

int RandomGenerator::draw_random() noexcept {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) & 0x7fffu);
}

}  // namespace veltra::core
