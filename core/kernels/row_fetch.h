#pragma once

#include <cstdint>

namespace veltra::core::lanes {

// Rows fetched from memory a cache line at a time, a line at each step of a
// loop of arithmetic, so that their fetches spread over it rather than queue
// up all at once.
struct RowFetch {
    static constexpr std::int32_t VALUES_PER_LINE = 8;

    const double* const* rows = nullptr;
    std::int32_t count = 0;
    std::int32_t nvars = 0;
    std::int32_t row = 0;
    std::int32_t k = 0;

    void next_line() noexcept {
        if (row == count) return;
        __builtin_prefetch(rows[row] + k, 0, 2);
        k += VALUES_PER_LINE;
        if (k >= nvars) {
            k = 0;
            ++row;
        }
    }
    // The lines left, all of them when there was no loop.
    void rest() noexcept {
        while (row < count) next_line();
    }
};

}  // namespace veltra::core::lanes
