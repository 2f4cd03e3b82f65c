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

void RandomGenerator::begin_stream(RandomStream stream) noexcept {
    StreamState& kind = streams_[static_cast<std::size_t>(stream)];
    const std::int64_t now = clock_->now_seconds();
    if (kind.seeded && kind.second == now) {
        state_ = kind.state;
        return;
    }
    state_ = static_cast<std::uint32_t>(now);  // as seed_random_from_clock takes the time
    kind.seeded = true;
    kind.second = now;
    // Until the run ends, a start in this second continues from its seed.
    kind.state = state_;
}

void RandomGenerator::end_stream(RandomStream stream) noexcept {
    streams_[static_cast<std::size_t>(stream)].state = state_;
}

}  // namespace veltra::core
