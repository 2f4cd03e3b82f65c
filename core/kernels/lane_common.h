#pragma once

#include <cstddef>
#include <cstdint>

// What every kernel body shares. Like the bodies, every function here is a
// template on the Lanes type: each instruction set's translation unit
// instantiates it with its own Lanes type from an unnamed namespace, so no
// instance compiled with wider instructions can be picked by the linker for
// the baseline code.
//
// Prototypes are packed in groups of WIDTH, variable-major: value k of
// prototype p is at packed[((p / WIDTH) * nvars + k) * WIDTH + p % WIDTH].
namespace veltra::core::lanes {

inline constexpr std::int32_t WIDTH = 8;

// At most this many prototypes fit the kernels (callers fall back otherwise).
inline constexpr std::int32_t MAX_GROUPS = 8;
inline constexpr std::int32_t MAX_LANE_PROTOTYPES = MAX_GROUPS * WIDTH;

template <class L>
std::int32_t groups_of(std::int32_t nprotos) noexcept {
    return (nprotos + WIDTH - 1) / WIDTH;
}

// Bit j set for each lane j of group g that holds a prototype.
template <class L>
unsigned valid_lanes(std::int32_t nprotos, std::int32_t g) noexcept {
    return nprotos - g * WIDTH < WIDTH ? (1u << (nprotos - g * WIDTH)) - 1u : (1u << WIDTH) - 1u;
}

template <class L>
const double* group_values(const double* packed, std::int32_t nvars, std::int32_t g) noexcept {
    return packed + static_cast<std::ptrdiff_t>(g) * nvars * WIDTH;
}

// Lane j of v where bit j of `use` is set and lane j is not NaN, else +inf.
template <class L>
L usable(L v, unsigned use) noexcept {
    return L::select(L::less_equal(v, v) & use, v, L::broadcast(__builtin_inf()));
}

// The smallest lane of v, which holds no NaN.
template <class L>
double smallest_lane(L v) noexcept {
    return L::smallest(v);
}

// The sum of the lanes of v, in an order of the instruction set's choosing
// (for the screens only).
template <class L>
double sum_of_lanes(L v) noexcept {
    return L::sum(v);
}

// What a screen knows of the winner's distance: the plain loop's distance,
// scaled by the square of the screen's scale, is at least X + low (the
// smallest of the prototypes' lower bounds), where X is the exact squared norm of the
// datavector in the screen's coordinates and `squared` its rounded sum
// (within a factor 1 + 2^-31 of X, plus underflow below 2^-1000, for fewer
// than 2^21 values); `unscale` is the inverse of that square, a power of two.
struct ScreenLow {
    double squared = 0.0;
    double low = 0.0;
    double unscale = 1.0;
};

// A lower bound on the plain loop's distance from what the screen knows.
// With u = 2^-53, y = squared (1 - 2^-29) - 2^-1000, rounded twice, is below
// X; when y + low rounds to v > 0, v < (X + low)(1 + u), and v (1 - 2^-40)
// rounded is below X + low. Scaling by the power of two is exact unless the
// result falls below the normal range, which gives 0 instead.
template <class L>
double screen_lower_bound(const ScreenLow& s) noexcept {
    const double y = s.squared * (1.0 - 0x1p-29) - 0x1p-1000;
    const double v = y + s.low;
    if (!(v > 0.0)) return 0.0;
    const double bound = v * (1.0 - 0x1p-40) * s.unscale;
    return bound >= 0x1p-1000 ? bound : 0.0;
}

// The squared distance of a datavector to packed prototype p, summed exactly as
// the plain loop sums it: (datavector[k] - value)^2 in index order from 0.
template <class L>
double lane_distance(const double* packed, std::int32_t nvars, std::int32_t p,
                     const double* datavector) noexcept {
    const double* values = group_values<L>(packed, nvars, p / WIDTH) + p % WIDTH;
    double sum = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) {
        const double d = datavector[k] - values[static_cast<std::ptrdiff_t>(k) * WIDTH];
        sum += d * d;
    }
    return sum;
}

}  // namespace veltra::core::lanes
