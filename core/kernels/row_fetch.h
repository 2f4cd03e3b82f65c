#pragma once

#include <cstdint>

namespace veltra::core::lanes {

// Rows fetched from memory a cache line at a time, a line at each step of a
// loop of arithmetic, so that their fetches spread over it rather than queue
// up all at once: row by row, or `across` the rows, line k of every row before
// line k + 1 of any, so that every row's fetch starts early (for rows needed
// long after, as a training batch's).
struct RowFetch {
    static constexpr std::int32_t VALUES_PER_LINE = 8;

    const double* const* rows = nullptr;
    std::int32_t count = 0;
    std::int32_t nvars = 0;
    bool across = false;
    std::int32_t row = 0;
    std::int32_t k = 0;

    bool done() const noexcept { return row == count || k >= nvars; }
    void next_line() noexcept {
        if (done()) return;
        __builtin_prefetch(rows[row] + k, 0, 3);
        if (across) {
            if (++row == count) {
                row = 0;
                k += VALUES_PER_LINE;
            }
        } else if ((k += VALUES_PER_LINE) >= nvars) {
            k = 0;
            ++row;
        }
    }
    // The lines left, all of them when there was no loop.
    void rest() noexcept {
        while (!done()) next_line();
    }
};

}  // namespace veltra::core::lanes
