#pragma once

#include <cstdint>

namespace veltra::core {

// out[n] := squared_distance(a[n], b[n], nvars) for every n < count. Several
// pairs are summed side by side, each in index order from 0, so every result
// has the bits of the plain sum.
void squared_distances(const double* const* a, const double* const* b, std::int32_t count, std::int32_t nvars,
                       double* out) noexcept;

}  // namespace veltra::core
