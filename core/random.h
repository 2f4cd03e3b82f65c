#pragma once

#include <array>
#include <cstdint>

#include "core/clock.h"

namespace veltra::core {

// The kinds of operation that keep a stream of draws of their own.
enum class RandomStream { training_epoch, pick_trials, pairwise_exchange };

// The shared linear congruential generator: state := state * 1103515245 +
// 12345 (mod 2^32); a draw returns bits 16 to 30 of the new state (0..32767).
// Every randomized operation seeds it from the clock when it starts, so a
// fixed clock makes every result reproducible. Training epochs, pick-trial
// runs and pairwise-exchange runs start through begin_stream instead, so that
// a start within the same clock second does not repeat the last sequence.
class RandomGenerator {
public:
    explicit RandomGenerator(const Clock& clock) : clock_(&clock) {}

    // Seeds with the clock's calendar time in whole seconds.
    void seed_random_from_clock() noexcept;
    void seed(std::uint32_t state) noexcept { state_ = state; }
    // The next value, 0..32767.
    int draw_random() noexcept;

    // Starts a run of `stream`: when that stream was seeded before in the
    // second the clock shows now, the generator resumes the state the stream
    // left at its last end_stream; otherwise it is seeded from the clock and
    // the second is remembered for the stream.
    void begin_stream(RandomStream stream) noexcept;
    // Remembers the generator's state as the one `stream` left.
    void end_stream(RandomStream stream) noexcept;

    const Clock& clock() const noexcept { return *clock_; }

private:
    struct StreamState {
        bool seeded = false;
        std::int64_t second = 0;  // of the last seeding
        std::uint32_t state = 0;  // left at the last end
    };

    const Clock* clock_;
    std::uint32_t state_ = 1;
    std::array<StreamState, 3> streams_{};
};

// One run of a stream: begin_stream on construction, end_stream when it goes.
class StreamRun {
public:
    StreamRun(RandomGenerator& random, RandomStream stream) noexcept : random_(random), stream_(stream) {
        random_.begin_stream(stream_);
    }
    StreamRun(const StreamRun&) = delete;
    StreamRun& operator=(const StreamRun&) = delete;
    ~StreamRun() { random_.end_stream(stream_); }

private:
    RandomGenerator& random_;
    RandomStream stream_;
};

}  // namespace veltra::core
