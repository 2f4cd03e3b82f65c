#include "core/kernels/pair_distances.h"

namespace veltra::core {

namespace {

// Independent sums, so that they overlap instead of waiting on one another.
template <int B>
void squared_distances_block(const double* const* a, const double* const* b, std::int32_t nvars,
                             double* out) noexcept {
    double sums[B];
    for (int n = 0; n < B; ++n) sums[n] = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) {
        for (int n = 0; n < B; ++n) {
            const double d = a[n][k] - b[n][k];
            sums[n] += d * d;
        }
    }
    for (int n = 0; n < B; ++n) out[n] = sums[n];
}

}  // namespace

void squared_distances(const double* const* a, const double* const* b, std::int32_t count, std::int32_t nvars,
                       double* out) noexcept {
    constexpr std::int32_t BLOCK = 8;
    std::int32_t n = 0;
    for (; count - n >= BLOCK; n += BLOCK) squared_distances_block<BLOCK>(a + n, b + n, nvars, out + n);
    for (; n < count; ++n) squared_distances_block<1>(a + n, b + n, nvars, out + n);
}

}  // namespace veltra::core
