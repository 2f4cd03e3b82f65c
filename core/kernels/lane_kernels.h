#pragma once

#include <cstddef>
#include <cstdint>

// The kernel bodies, written once for a Lanes type of WIDTH doubles and
// instantiated by each instruction set's translation unit with its own Lanes
// type from an unnamed namespace, so that no instance is shared between
// instruction sets. Only <cstddef> and <cstdint> are included here and in those units: an
// inline function of another header, compiled there with wider instructions,
// could be picked by the linker for the baseline code.
//
// Prototypes are packed in groups of WIDTH, variable-major: value k of
// prototype p is at packed[((p / WIDTH) * nvars + k) * WIDTH + p % WIDTH].
// Each lane sums its own prototype's distance in index order from 0, exactly as
// the plain loop does.
namespace veltra::core::lanes {

inline constexpr std::int32_t WIDTH = 8;

// The instruction-set-specific kernels, all on packed prototypes.
struct LaneKernels {
    // winners[b] := the winner of datavector rows[b] for b < count, by the
    // rule of find_winner.
    void (*find_winners)(const double* packed, std::int32_t nprotos, std::int32_t nvars,
                         const double* const* rows, std::int32_t count, std::int32_t* winners) noexcept;
    // Every prototype p with moves[p] != 0 moves each value v to
    // v + rates[p] * (datavector[k] - v); the others keep their bits.
    void (*move_toward)(double* packed, std::int32_t nprotos, std::int32_t nvars, const double* datavector,
                        const double* rates, const std::uint8_t* moves) noexcept;
};

extern const LaneKernels SSE2_KERNELS;
extern const LaneKernels AVX2_KERNELS;
extern const LaneKernels AVX512_KERNELS;

// Variables summed between two checks for early abandon.
inline constexpr std::int32_t ABANDON_CHECK_INTERVAL = 8;
// Datavectors searched together, so that their sums form independent chains.
inline constexpr std::int32_t BLOCK = 4;

// Searches B datavectors at once. A group of lanes is abandoned once no lane of
// it can still win for any of the B datavectors: a lane's partial sum only grows
// (squares are never negative) or turns NaN, so a partial sum that is not below
// the best distance so far (from lower indices) can never become strictly
// smaller than it, and NaN never wins. The best is never NaN: a NaN distance to
// prototype 0 is never beaten, so that datavector is settled at once.
template <class L, int B>
void find_winners_block(const double* packed, std::int32_t nprotos, std::int32_t nvars,
                        const double* const* rows, std::int32_t* winners) noexcept {
    const std::int32_t groups = (nprotos + WIDTH - 1) / WIDTH;
    double best[B];
    std::int32_t winner[B];
    bool settled[B];
    alignas(64) double distances[WIDTH];
    for (int b = 0; b < B; ++b) {
        best[b] = 0.0;
        winner[b] = 0;
        settled[b] = false;
    }
    for (std::int32_t g = 0; g < groups; ++g) {
        const double* lanes = packed + static_cast<std::ptrdiff_t>(g) * nvars * WIDTH;
        const std::int32_t first = g * WIDTH;
        const std::int32_t count = nprotos - first < WIDTH ? nprotos - first : WIDTH;
        const unsigned valid = (1u << count) - 1u;
        L sums[B];
        L limits[B];
        for (int b = 0; b < B; ++b) {
            sums[b] = L::zero();
            limits[b] = L::broadcast(best[b]);
        }
        bool abandoned = false;
        for (std::int32_t k0 = 0; k0 < nvars && !abandoned; k0 += ABANDON_CHECK_INTERVAL) {
            const std::int32_t k1 = nvars - k0 < ABANDON_CHECK_INTERVAL ? nvars : k0 + ABANDON_CHECK_INTERVAL;
            for (std::int32_t k = k0; k < k1; ++k) {
                const L values = L::load(lanes + static_cast<std::ptrdiff_t>(k) * WIDTH);
                for (int b = 0; b < B; ++b) {
                    const L d = values - L::broadcast(rows[b][k]);
                    sums[b] = sums[b] + d * d;
                }
            }
            if (g == 0) continue;  // no best distance exists before group 0 is complete
            unsigned alive = 0;
            for (int b = 0; b < B; ++b) {
                if (!settled[b]) alive |= L::less(sums[b], limits[b]);
            }
            abandoned = (alive & valid) == 0;
        }
        if (abandoned) continue;
        for (int b = 0; b < B; ++b) {
            if (settled[b]) continue;
            sums[b].store(distances);
            std::int32_t j = 0;
            if (g == 0) {
                best[b] = distances[0];
                if (distances[0] != distances[0]) {
                    settled[b] = true;
                    continue;
                }
                j = 1;
            }
            for (; j < count; ++j) {
                if (distances[j] < best[b]) {
                    best[b] = distances[j];
                    winner[b] = first + j;
                }
            }
        }
    }
    for (int b = 0; b < B; ++b) winners[b] = winner[b];
}

template <class L>
void find_winners(const double* packed, std::int32_t nprotos, std::int32_t nvars, const double* const* rows,
                  std::int32_t count, std::int32_t* winners) noexcept {
    std::int32_t i = 0;
    for (; count - i >= BLOCK; i += BLOCK)
        find_winners_block<L, BLOCK>(packed, nprotos, nvars, rows + i, winners + i);
    for (; i < count; ++i) find_winners_block<L, 1>(packed, nprotos, nvars, rows + i, winners + i);
}

template <class L>
void move_toward(double* packed, std::int32_t nprotos, std::int32_t nvars, const double* datavector,
                 const double* rates, const std::uint8_t* moves) noexcept {
    const std::int32_t groups = (nprotos + WIDTH - 1) / WIDTH;
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t first = g * WIDTH;
        const std::int32_t count = nprotos - first < WIDTH ? nprotos - first : WIDTH;
        alignas(64) double lane_rates[WIDTH] = {};
        unsigned moving = 0;
        for (std::int32_t j = 0; j < count; ++j) {
            if (moves[first + j] == 0) continue;
            moving |= 1u << j;
            lane_rates[j] = rates[first + j];
        }
        if (moving == 0) continue;
        const L rate = L::load(lane_rates);
        double* lanes = packed + static_cast<std::ptrdiff_t>(g) * nvars * WIDTH;
        for (std::int32_t k = 0; k < nvars; ++k) {
            double* values = lanes + static_cast<std::ptrdiff_t>(k) * WIDTH;
            const L old = L::load(values);
            const L moved = old + rate * (L::broadcast(datavector[k]) - old);
            L::select(moving, moved, old).store(values);
        }
    }
}

template <class L>
constexpr LaneKernels lane_kernels() noexcept {
    return {&find_winners<L>, &move_toward<L>};
}

}  // namespace veltra::core::lanes
