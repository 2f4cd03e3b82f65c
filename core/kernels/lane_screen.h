#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/lane_common.h"

// A quick screen of the prototypes that can win a datavector, with a proven
// bound on its error; the winner is then picked among the survivors by exact
// distances, so the winners stay those of the plain loop.
//
// Write X = sum x_k^2 for the datavector, N_j = sum p_jk^2 and P_j = sum x_k
// p_jk for prototype j (n values each, exact real sums), and D_j = sum (x_k -
// p_jk)^2 = X + N_j - 2 P_j. The screen computes P_j with one multiply-add
// per value (fused where the processor has it) instead of the subtraction,
// multiplication and addition that D_j takes, and e_j = N_j - 2 P_j from the
// rounded N_j and P_j. With u = 2^-53, and summed in any order,
//   - each rounded dot product errs by at most gamma_n sum |x_k p_jk|
//     <= gamma_n (X + N_j) / 2, each rounded squared norm by gamma_n of itself,
//     and the subtraction in e_j by 2u (X + N_j) (1 + gamma_n);
//   - the plain loop's rounded distance S_j errs by at most gamma_(n+2) D_j
//     <= 2 gamma_(n+2) (X + N_j);
//   - an operation whose result underflows errs by at most 2^-1075 more, and
//     there are fewer than 10n + 20 operations in all.
// So |S_j - X - e_j| <= (4n + 8) u (X + N_j) + (10n + 20) 2^-1074. The radius
// r_j below takes twice the relative part, which also covers the rounded X
// and N_j it is computed from and the roundings of e_j - r_j and e_j + r_j,
// and (10n + 20) 2^-1022 as the absolute part: more than needed, but no
// subnormal number enters the arithmetic, which some processors handle slowly.
// When e_j - r_j > e_k + r_k, then S_j > S_k: prototype j can neither win nor
// tie, and the winner is among the candidates, those with e_j - r_j at most
// the smallest e_k + r_k.
//
// The bound holds while no product, square or sum overflows: the screen is
// used only when X and every N_j are at most SCREEN_LIMIT (so never with NaN
// or infinities), where every |value| is below 2^481 and every sum far below
// the largest double.
namespace veltra::core::lanes {

inline constexpr double SCREEN_LIMIT = 0x1p960;

// The relative and the absolute part of the radius for n values.
template <class L>
double screen_scale(std::int32_t n) noexcept {
    return (8.0 * n + 64.0) * 0x1p-53;
}
template <class L>
double screen_floor(std::int32_t n) noexcept {
    return (10.0 * n + 20.0) * 0x1p-1022;
}

// Sum of v[k]^2 for k < n, in an order of its own (for the screen only).
template <class L>
double screen_norm(const double* v, std::int32_t n) noexcept {
    L sum = L::zero();
    std::int32_t k = 0;
    for (; k + WIDTH <= n; k += WIDTH) {
        const L x = L::load(v + k);
        sum = L::multiply_add(x, x, sum);
    }
    if (k < n) {
        const L x = L::load_first(v + k, n - k);
        sum = L::multiply_add(x, x, sum);
    }
    return sum_of_lanes(sum);
}

// norms[p] := the squared norm of packed prototype p, for the screen; lanes
// past the last prototype get 0.
template <class L>
void measure_norms(const double* packed, std::int32_t nprotos, std::int32_t nvars, double* norms) noexcept {
    for (std::int32_t g = 0; g < groups_of<L>(nprotos); ++g) {
        const double* values = group_values<L>(packed, nvars, g);
        L sum = L::zero();
        for (std::int32_t k = 0; k < nvars; ++k) {
            const L v = L::load(values + static_cast<std::ptrdiff_t>(k) * WIDTH);
            sum = L::multiply_add(v, v, sum);
        }
        L::select(valid_lanes<L>(nprotos, g), sum, L::zero())
            .store(norms + static_cast<std::ptrdiff_t>(g) * WIDTH);
    }
}

// Whether the screen may be used with these prototypes.
template <class L>
bool prototypes_screenable(const double* norms, std::int32_t nprotos) noexcept {
    const L limit = L::broadcast(SCREEN_LIMIT);
    for (std::int32_t g = 0; g < groups_of<L>(nprotos); ++g) {
        const unsigned valid = valid_lanes<L>(nprotos, g);
        if ((L::less_equal(L::load(norms + static_cast<std::ptrdiff_t>(g) * WIDTH), limit) & valid) != valid)
            return false;
    }
    return true;
}

// Bit p set for each candidate prototype p; 0 when the datavector is out of
// the screen's range. Unless `low` is null, *low gets what the screen knows
// of the winner's distance (when there are candidates; here X is the
// unshifted squared norm and the scale 1). G is the number of whole groups,
// HALF whether a last group of at most four prototypes follows (summed in half
// as many lanes), so that the dot products of all groups stay in registers
// side by side.
template <class L, int G, bool HALF>
std::uint64_t screen_candidates(const double* packed, const double* norms, std::int32_t nprotos,
                                std::int32_t nvars, const double* datavector, ScreenLow* low) noexcept {
    using H = typename L::Half;
    const double squared = screen_norm<L>(datavector, nvars);
    if (!(squared <= SCREEN_LIMIT)) return 0;
    // S sets of sums over every S-th variable, added at the end, so that a
    // search waits on chains of nvars / S multiply-adds, not nvars.
    constexpr int GROUPS = G + (HALF ? 1 : 0);
    constexpr int S = GROUPS * L::CHAINS <= 16 ? L::CHAINS : (16 / GROUPS > 1 ? 16 / GROUPS : 1);
    L sets[S][G > 0 ? G : 1];
    H half_sets[S];
    for (int s = 0; s < S; ++s) {
        for (int g = 0; g < G; ++g) sets[s][g] = L::zero();
        half_sets[s] = H::zero();
    }
    const auto add_products = [&](int s, std::int32_t k) {
        const double x = datavector[k];
        for (int g = 0; g < G; ++g) {
            const L v = L::load(packed + (static_cast<std::ptrdiff_t>(g) * nvars + k) * WIDTH);
            sets[s][g] = L::multiply_add(v, L::broadcast(x), sets[s][g]);
        }
        if constexpr (HALF) {
            const H v = H::load(packed + (static_cast<std::ptrdiff_t>(G) * nvars + k) * WIDTH);
            half_sets[s] = H::multiply_add(v, H::broadcast(x), half_sets[s]);
        }
    };
    std::int32_t k = 0;
    for (; k + S <= nvars; k += S) {
        for (int s = 0; s < S; ++s) add_products(s, k + s);
    }
    for (; k < nvars; ++k) add_products(0, k);
    L dots[GROUPS];
    for (int g = 0; g < G; ++g) {
        dots[g] = sets[0][g];
        for (int s = 1; s < S; ++s) dots[g] = dots[g] + sets[s][g];
    }
    if constexpr (HALF) {
        H half = half_sets[0];
        for (int s = 1; s < S; ++s) half = half + half_sets[s];
        dots[G] = L::from_half(half);
    }
    const L scale = L::broadcast(screen_scale<L>(nvars));
    const L floor = L::broadcast(screen_floor<L>(nvars));
    const L x_norm = L::broadcast(squared);
    L lows[GROUPS];
    L highest_needed = L::broadcast(__builtin_inf());
    for (int g = 0; g < GROUPS; ++g) {
        const L norm = L::load(norms + static_cast<std::ptrdiff_t>(g) * WIDTH);
        const L e = norm - (dots[g] + dots[g]);
        const L r = scale * (x_norm + norm) + floor;
        lows[g] = e - r;
        highest_needed = L::min(highest_needed, usable(e + r, valid_lanes<L>(nprotos, g)));
    }
    const L bound = L::broadcast(smallest_lane(highest_needed));
    std::uint64_t candidates = 0;
    for (int g = 0; g < GROUPS; ++g) {
        const unsigned in = L::less_equal(lows[g], bound) & valid_lanes<L>(nprotos, g);
        candidates |= static_cast<std::uint64_t>(in) << (g * WIDTH);
    }
    if (low != nullptr) {
        L lowest = L::broadcast(__builtin_inf());
        for (int g = 0; g < GROUPS; ++g) lowest = L::min(lowest, usable(lows[g], valid_lanes<L>(nprotos, g)));
        *low = {squared, smallest_lane(lowest), 1.0};
    }
    return candidates;
}

// Picks the instance of screen_candidates for G whole groups.
template <class L, int G>
std::uint64_t screen_candidates_from(std::int32_t whole, bool half, const double* packed, const double* norms,
                                     std::int32_t nprotos, std::int32_t nvars, const double* datavector,
                                     ScreenLow* low) noexcept {
    if constexpr (G < MAX_GROUPS) {
        if (whole != G)
            return screen_candidates_from<L, G + 1>(whole, half, packed, norms, nprotos, nvars, datavector,
                                                    low);
        if (half) return screen_candidates<L, G, true>(packed, norms, nprotos, nvars, datavector, low);
    }
    if constexpr (G > 0)
        return screen_candidates<L, G, false>(packed, norms, nprotos, nvars, datavector, low);
    return 0;  // no prototypes: cannot happen
}

template <class L>
std::uint64_t screen_candidates(const double* packed, const double* norms, std::int32_t nprotos,
                                std::int32_t nvars, const double* datavector, ScreenLow* low) noexcept {
    const std::int32_t rest = nprotos % WIDTH;
    const bool half = rest != 0 && rest <= WIDTH / 2;
    const std::int32_t whole = nprotos / WIDTH + (rest != 0 && !half ? 1 : 0);
    return screen_candidates_from<L, 0>(whole, half, packed, norms, nprotos, nvars, datavector, low);
}

// The winner among the candidates (at least one): the lowest index of the
// smallest exact distance, which is the plain loop's winner. When there are
// several, `distance` gets the winner's; a single one is returned unmeasured.
template <class L>
std::int32_t winner_among(const double* packed, std::int32_t nvars, const double* datavector,
                          std::uint64_t candidates, double& distance) noexcept {
    auto best = static_cast<std::int32_t>(__builtin_ctzll(candidates));
    candidates &= candidates - 1;
    if (candidates == 0) return best;
    double best_distance = lane_distance<L>(packed, nvars, best, datavector);
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto p = static_cast<std::int32_t>(__builtin_ctzll(candidates));
        const double d = lane_distance<L>(packed, nvars, p, datavector);
        if (d < best_distance) {
            best_distance = d;
            best = p;
        }
    }
    distance = best_distance;
    return best;
}

}  // namespace veltra::core::lanes
