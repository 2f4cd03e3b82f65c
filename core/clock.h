#pragma once

#include <cstdint>

namespace veltra::core {

// The calendar clock in whole seconds, as every randomized operation and the
// splash wait read it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t now_seconds() const = 0;
};

// The real calendar time.
class SystemClock final : public Clock {
public:
    std::int64_t now_seconds() const override;
};

// A clock that shows a time set by its owner: for tests and for batch runs
// with a fixed time.
class FixedClock final : public Clock {
public:
    explicit FixedClock(std::int64_t seconds = 0) : seconds_(seconds) {}
    std::int64_t now_seconds() const override { return seconds_; }
    void set(std::int64_t seconds) { seconds_ = seconds; }
    void advance(std::int64_t seconds) { seconds_ += seconds; }

private:
    std::int64_t seconds_;
};

// The process's real clock.
const Clock& system_clock();

}  // namespace veltra::core
