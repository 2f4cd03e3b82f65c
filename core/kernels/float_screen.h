#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/lane_common.h"
#include "core/kernels/row_fetch.h"

// The screen of lane_screen.h in single precision, for searches of many
// datavectors: twice the lanes per instruction, so half the multiply-adds.
//
// The prototypes are shifted by a vector c and scaled by a power of two s
// (chosen so that the largest |p_jk - c_k| s lies in [1/2, 1)), which keeps the
// rounding errors relative to the spread of the prototypes rather than to
// their distance from 0. The shifted and scaled datavector a and prototypes
// b_j are rounded to float; D_j s^2 = X + N_j - 2 P_j with X = |a|^2, N_j =
// |b_j|^2, P_j = a . b_j (exact real values of the unrounded a and b_j).
// With u = 2^-24:
//   - rounding a_k and b_jk to float (after their double rounding) errs by
//     less than 2u relative each, so the products of the rounded values differ
//     from the a_k b_jk by at most (4u + 4u^2) sum |a_k b_jk| in all;
//   - the float dot product errs by at most gamma_n times the sum of the
//     |products| it adds; with sum |a_k b_jk| <= (X + N_j) / 2, 2 P_j errs by
//     at most (n + 4) u (1 + 2^-20) (X + N_j);
//   - the norms summed in double and the plain loop's sum (scaled) err by at
//     most (4n + 12) 2^-29 u (X + N_j), and storing the norms as float and
//     e_j = N_j - 2 P_j, e_j - r_j and e_j + r_j in float round by at most
//     10 u (X + N_j) together;
//   - underflow, in float or double, adds less than n 2^-110.
// The radius r_j = (2n + 16) u (X + N_j) + n 2^-110 covers all of it, and
// the candidates follow as in lane_screen.h. The screen needs X at most 2^60,
// so that |a_k| <= 2^30 and no float sum overflows; a datavector out of that
// range (NaN and infinities included) goes to the double screen.
namespace veltra::core::lanes {

inline constexpr std::int32_t FLOAT_WIDTH = 16;

// A number as a type, for choosing an instance at run time.
template <int N>
struct Count {
    static constexpr int value = N;
};
inline constexpr std::int32_t MAX_FLOAT_GROUPS = MAX_LANE_PROTOTYPES / FLOAT_WIDTH;
inline constexpr double FLOAT_SCREEN_LIMIT = 0x1p60;
// Values shifted, scaled and rounded to float at a time.
inline constexpr std::int32_t FLOAT_CHUNK = 256;

// The single-precision prototypes: value k of prototype p is (p_k - shift[k])
// * scale rounded to float, at packed[float_lane_index(p, k, nprotos, nvars)]
// (below), the other entries 0; norms[p] is its squared norm before the
// rounding to float, 0 past the last prototype. `packed` is null when the
// screen cannot be used.
struct FloatScreen {
    const float* packed = nullptr;
    const float* norms = nullptr;
    const double* shift = nullptr;
    double scale = 1.0;
};

template <class F>
unsigned valid_float_lanes(std::int32_t nprotos, std::int32_t g) noexcept {
    return nprotos - g * FLOAT_WIDTH < FLOAT_WIDTH ? (1u << (nprotos - g * FLOAT_WIDTH)) - 1u
                                                   : (1u << FLOAT_WIDTH) - 1u;
}

// Bit p set for each candidate prototype p, from the datavector's squared
// norm in the screen's coordinates and its dot products with the prototypes
// (dots: a multiple of FLOAT_WIDTH entries covering nprotos); 0 when the
// datavector is out of the screen's range. Unless `low` is null, *low gets what
// the screen knows of the winner's distance (when there are candidates).
// GROUPS, unless 0, is the number of groups of FLOAT_WIDTH that cover nprotos.
template <class F, int GROUPS = 0>
[[gnu::always_inline]] inline std::uint64_t float_candidates(const FloatScreen& screen, std::int32_t nprotos,
                                                             std::int32_t nvars, double squared,
                                                             const float* dots, ScreenLow* low) noexcept {
    if (!(squared <= FLOAT_SCREEN_LIMIT)) return 0;
    const std::int32_t groups = GROUPS > 0 ? GROUPS : (nprotos + FLOAT_WIDTH - 1) / FLOAT_WIDTH;
    const F radius_scale = F::broadcast(static_cast<float>((2.0 * nvars + 16.0) * 0x1p-24));
    const F floor = F::broadcast(static_cast<float>(nvars * 0x1p-110));
    const F x_norm = F::broadcast(static_cast<float>(squared));
    F low_ends[MAX_FLOAT_GROUPS];
    F highest_needed = F::broadcast(__builtin_inff());
    for (std::int32_t g = 0; g < groups; ++g) {
        const unsigned valid = valid_float_lanes<F>(nprotos, g);
        const F norm = F::load(screen.norms + static_cast<std::ptrdiff_t>(g) * FLOAT_WIDTH);
        const F dot = F::load(dots + static_cast<std::ptrdiff_t>(g) * FLOAT_WIDTH);
        const F e = norm - (dot + dot);
        const F r = radius_scale * (x_norm + norm) + floor;
        low_ends[g] = e - r;
        highest_needed = F::min(highest_needed, F::select(valid, e + r, F::broadcast(__builtin_inff())));
    }
    const F bound = F::broadcast(F::smallest(highest_needed));
    std::uint64_t candidates = 0;
    for (std::int32_t g = 0; g < groups; ++g) {
        const unsigned in = F::less_equal(low_ends[g], bound) & valid_float_lanes<F>(nprotos, g);
        candidates |= static_cast<std::uint64_t>(in) << (g * FLOAT_WIDTH);
    }
    if (low != nullptr) {
        F lowest = F::broadcast(__builtin_inff());
        for (std::int32_t g = 0; g < groups; ++g)
            lowest = F::min(lowest, F::select(valid_float_lanes<F>(nprotos, g), low_ends[g], lowest));
        *low = {squared, F::smallest(lowest), 1.0 / (screen.scale * screen.scale)};
    }
    return candidates;
}

// The screen's prototypes come in groups of FLOAT_WIDTH, one lane each; a
// last group of at most eight would leave lanes empty, so its vectors hold
// SPREAD variables of each prototype instead (lane v * FLOAT_WIDTH / SPREAD +
// p for variable SPREAD k' + v of prototype p of the group): 2, or 4 for at
// most four prototypes. 1 when there is no such group.
inline std::int32_t tail_spread(std::int32_t nprotos) noexcept {
    const std::int32_t rest = nprotos % FLOAT_WIDTH;
    return rest == 0 || rest > FLOAT_WIDTH / 2 ? 1 : rest > FLOAT_WIDTH / 4 ? 2 : 4;
}

// The groups of one lane a prototype.
inline std::int32_t whole_groups(std::int32_t nprotos) noexcept {
    return tail_spread(nprotos) > 1 ? nprotos / FLOAT_WIDTH : (nprotos + FLOAT_WIDTH - 1) / FLOAT_WIDTH;
}

// Where value k of prototype p lies in FloatScreen::packed.
inline std::size_t float_lane_index(std::int32_t p, std::int32_t k, std::int32_t nprotos,
                                    std::int32_t nvars) noexcept {
    const auto n = static_cast<std::size_t>(nvars);
    const auto whole = static_cast<std::size_t>(whole_groups(nprotos));
    const auto g = static_cast<std::size_t>(p / FLOAT_WIDTH);
    const auto lane = static_cast<std::size_t>(p % FLOAT_WIDTH);
    if (g < whole) return (g * n + static_cast<std::size_t>(k)) * FLOAT_WIDTH + lane;
    const std::int32_t spread = tail_spread(nprotos);
    return (whole * n + static_cast<std::size_t>(k / spread)) * FLOAT_WIDTH +
           static_cast<std::size_t>(k % spread * (FLOAT_WIDTH / spread)) + lane;
}

// candidates[d] := bit p set for each candidate prototype p of datavector
// datavectors[d], d < D; 0 when it is out of the screen's range. Unless `lows`
// is null, lows[d] gets what the screen knows of the winner's distance (when
// there are candidates). L is the double lanes type, F the float one; G is
// the number of whole groups, T the spread of a last group (0 when there is
// none). D datavectors side by side share each load of the prototypes. The
// rows of `fetch` are fetched from memory meanwhile, in part.
template <class L, class F, int G, int T, int D>
void float_screen_candidates(const FloatScreen& screen, std::int32_t nprotos, std::int32_t nvars,
                             const double* const* datavectors, std::uint64_t* candidates, ScreenLow* lows,
                             RowFetch& fetch) noexcept {
    constexpr int GROUPS = G + (T > 0 ? 1 : 0);
    // S sets of sums over every S-th variable, added at the end: the sums of
    // one set wait on each other, those of different sets do not. Datavectors
    // side by side have chains enough of their own (more sums would not stay
    // in the registers).
    constexpr int S = D > 1 ? 1 : F::CHAINS;
    // Whole steps of the loop cover S variables of the groups and T of the
    // last one.
    constexpr int STEP = S > T ? S : T;
    constexpr int SPREAD = T > 0 ? T : 1;
    // Room past the chunk for the zeros that the last group's vectors read.
    alignas(64) float shifted[D][FLOAT_CHUNK + 4];
    F dots[D][S][G > 0 ? G : 1];
    F tail_dots[D][S];
    for (int d = 0; d < D; ++d) {
        for (int s = 0; s < S; ++s) {
            for (int g = 0; g < G; ++g) dots[d][s][g] = F::zero();
            tail_dots[d][s] = F::zero();
        }
    }
    const float* tail = screen.packed + static_cast<std::ptrdiff_t>(G) * nvars * FLOAT_WIDTH;
    const L scale = L::broadcast(screen.scale);
    L squares[D];
    for (int d = 0; d < D; ++d) squares[d] = L::zero();
    for (std::int32_t k0 = 0; k0 < nvars; k0 += FLOAT_CHUNK) {
        const std::int32_t count = nvars - k0 < FLOAT_CHUNK ? nvars - k0 : FLOAT_CHUNK;
        for (std::int32_t k = 0; k < count; k += WIDTH) {
            const std::int32_t left = count - k;
            const L c =
                left >= WIDTH ? L::load(screen.shift + k0 + k) : L::load_first(screen.shift + k0 + k, left);
            for (int d = 0; d < D; ++d) {
                const double* x = datavectors[d] + k0 + k;
                const L a = ((left >= WIDTH ? L::load(x) : L::load_first(x, left)) - c) * scale;
                squares[d] = L::multiply_add(a, a, squares[d]);
                a.store_as_floats(shifted[d] + k);
            }
        }
        for (int d = 0; d < D; ++d) {
            for (std::int32_t k = count; k < count + SPREAD; ++k) shifted[d][k] = 0.0f;
        }
        const auto add_products = [&](int set, std::int32_t k) {
            for (int g = 0; g < G; ++g) {
                const F v =
                    F::load(screen.packed + (static_cast<std::ptrdiff_t>(g) * nvars + k0 + k) * FLOAT_WIDTH);
                for (int d = 0; d < D; ++d)
                    dots[d][set][g] = F::multiply_add(v, F::broadcast(shifted[d][k]), dots[d][set][g]);
            }
        };
        // Variables k..k+T-1 of the last group (k a multiple of T).
        const auto add_tail_products = [&](int set, std::int32_t k) {
            if constexpr (T > 0) {
                const F v = F::load(tail + static_cast<std::ptrdiff_t>((k0 + k) / T) * FLOAT_WIDTH);
                for (int d = 0; d < D; ++d)
                    tail_dots[d][set] =
                        F::multiply_add(v, F::template spread<T>(shifted[d] + k), tail_dots[d][set]);
            }
        };
        std::int32_t k = 0;
        for (; k + STEP <= count; k += STEP) {
            // The rows of `fetch` come from memory meanwhile, two lines a
            // step: all four of the next group's while a step covers four
            // variables.
            fetch.next_line();
            fetch.next_line();
            for (int i = 0; i < STEP; ++i) add_products(i % S, k + i);
            if constexpr (T > 0) {
                for (int i = 0; i < STEP; i += T) add_tail_products(i / T % S, k + i);
            }
        }
        for (; k < count; ++k) {
            add_products(0, k);
            if (k % SPREAD == 0) add_tail_products(0, k);
        }
    }
    for (int d = 0; d < D; ++d) {
        alignas(64) float sums[GROUPS * FLOAT_WIDTH];
        for (int g = 0; g < G; ++g) {
            F sum = dots[d][0][g];
            for (int s = 1; s < S; ++s) sum = sum + dots[d][s][g];
            sum.store(sums + g * FLOAT_WIDTH);
        }
        if constexpr (T > 0) {
            F sum = tail_dots[d][0];
            for (int s = 1; s < S; ++s) sum = sum + tail_dots[d][s];
            F::template fold<T>(sum).store(sums + G * FLOAT_WIDTH);
        }
        candidates[d] = float_candidates<F, GROUPS>(screen, nprotos, nvars, sum_of_lanes(squares[d]), sums,
                                                    lows != nullptr ? &lows[d] : nullptr);
    }
}

// Picks the instance for the number of whole groups and the last group's
// spread.
template <class L, class F, int D>
void float_screen_candidates(const FloatScreen& screen, std::int32_t nprotos, std::int32_t nvars,
                             const double* const* datavectors, std::uint64_t* candidates, ScreenLow* lows,
                             RowFetch& fetch) noexcept {
    const std::int32_t spread = tail_spread(nprotos);
    const auto run = [&](auto groups, auto t) {
        float_screen_candidates<L, F, decltype(groups)::value, decltype(t)::value, D>(
            screen, nprotos, nvars, datavectors, candidates, lows, fetch);
    };
    const auto with_spread = [&](auto groups) {
        if (spread == 2) return run(groups, Count<2>{});
        if (spread == 4) return run(groups, Count<4>{});
        // Without a spread last group there is a whole one.
        if constexpr (decltype(groups)::value > 0) run(groups, Count<0>{});
    };
    switch (whole_groups(nprotos)) {
        case 0:
            return with_spread(Count<0>{});
        case 1:
            return with_spread(Count<1>{});
        case 2:
            return with_spread(Count<2>{});
        case 3:
            return with_spread(Count<3>{});
        default:
            return run(Count<MAX_FLOAT_GROUPS>{}, Count<0>{});
    }
}

}  // namespace veltra::core::lanes
