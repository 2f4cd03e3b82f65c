#pragma once

#include <cstdint>

namespace veltra::core::lanes {

// Asks for the first cache lines of a row of n values ahead of their use; the
// hardware follows on by itself from there.
inline void prefetch_row(const double* row, std::int32_t n) noexcept {
    constexpr std::int32_t VALUES_PER_LINE = 8;
    constexpr std::int32_t LINES = 8;
    for (std::int32_t k = 0; k < n && k < VALUES_PER_LINE * LINES; k += VALUES_PER_LINE)
        __builtin_prefetch(row + k);
}

}  // namespace veltra::core::lanes
