#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/float_screen.h"
#include "core/kernels/lane_common.h"
#include "core/kernels/lane_screen.h"
#include "core/kernels/row_kernels.h"

// The kernel bodies, written once for a Lanes type of WIDTH doubles and
// instantiated by each instruction set's translation unit with its own Lanes
// type from an unnamed namespace, so that no instance is shared between
// instruction sets. Only <cstddef>, <cstdint> and the kernels' own headers are
// included here and in those units: an inline function of another header,
// compiled there with wider instructions, could be picked by the linker for
// the baseline code.
//
// Each lane sums its own prototype's distance in index order from 0, exactly
// as the plain loop does. Next to the packed values the kernels keep each
// prototype's squared norm for the screen (lane_screen.h).
namespace veltra::core::lanes {

// The instruction-set-specific kernels, all on packed prototypes and their
// norms.
struct LaneKernels {
    // winners[b] := the winner of datavector rows[b] for b < count, by the
    // rule of find_winner; `screen` is the single-precision copy of the
    // prototypes (its packed values null when there is none). Unless
    // `bounds` is null, bounds[b] := a number at most the plain loop's
    // distance of rows[b] to its winner, that distance itself when it was
    // measured.
    void (*find_winners)(const double* packed, const double* norms, std::int32_t nprotos, std::int32_t nvars,
                         const FloatScreen& screen, const double* const* rows, std::int32_t count,
                         std::int32_t* winners, double* bounds) noexcept;
    // The winner of one datavector, by the rule of find_winner, in the
    // shortest time (for a caller that waits for it).
    std::int32_t (*find_winner)(const double* packed, const double* norms, std::int32_t nprotos,
                                std::int32_t nvars, const double* datavector) noexcept;
    // Screens the next datavectors for find_row_winner (row_kernels.h).
    void (*screen_rows_ahead)(PrototypeRowsView& rows, const double* const* datavectors, std::int32_t count,
                              const double* const* following, std::int32_t following_count) noexcept;
    // The winner of the next screened datavector among prototypes in rows, by
    // the rule of find_winner.
    std::int32_t (*find_row_winner)(PrototypeRowsView& rows) noexcept;
    // Moves the rows of `moving` as move_rows does, or lets them wait.
    void (*move_rows)(PrototypeRowsView& rows, const double* rates, std::uint64_t moving) noexcept;
    // Makes every move that waits.
    void (*settle_moves)(PrototypeRowsView& rows) noexcept;
    // norms[p] := the squared norm of prototype p, as the screen needs it.
    void (*measure_norms)(const double* packed, std::int32_t nprotos, std::int32_t nvars,
                          double* norms) noexcept;
};

extern const LaneKernels SSE2_KERNELS;
extern const LaneKernels AVX2_KERNELS;
extern const LaneKernels AVX512_KERNELS;

// The kernels of the active instruction set.
const LaneKernels& active_kernels() noexcept;

// Variables summed for every prototype before one of them is completed.
inline constexpr std::int32_t PREFIX = 16;
// Datavectors searched with early abandon to learn whether it pays for the
// others of a call; it pays when it saves at least this share of the sums.
inline constexpr std::int32_t PROBE = 16;
inline constexpr double ABANDON_PAYS = 0.25;
// Variables summed between two checks for early abandon.
inline constexpr std::int32_t ABANDON_CHECK_INTERVAL = 16;

// sums[g] += the squared differences of variables 0..k1-1 for groups g < G,
// all groups side by side so that their chains of sums overlap.
template <class L, int G>
void accumulate_side_by_side(L* sums, const double* packed, std::int32_t nvars, const double* datavector,
                             std::int32_t k1) noexcept {
    L running[G];
    for (int g = 0; g < G; ++g) running[g] = sums[g];
    for (std::int32_t k = 0; k < k1; ++k) {
        const L x = L::broadcast(datavector[k]);
        for (int g = 0; g < G; ++g) {
            const L d = L::load(packed + (static_cast<std::ptrdiff_t>(g) * nvars + k) * WIDTH) - x;
            running[g] = running[g] + d * d;
        }
    }
    for (int g = 0; g < G; ++g) sums[g] = running[g];
}

template <class L>
void accumulate_groups(L* sums, std::int32_t groups, const double* packed, std::int32_t nvars,
                       const double* datavector, std::int32_t k1) noexcept {
    switch (groups) {
        case 1:
            return accumulate_side_by_side<L, 1>(sums, packed, nvars, datavector, k1);
        case 2:
            return accumulate_side_by_side<L, 2>(sums, packed, nvars, datavector, k1);
        case 3:
            return accumulate_side_by_side<L, 3>(sums, packed, nvars, datavector, k1);
        case 4:
            return accumulate_side_by_side<L, 4>(sums, packed, nvars, datavector, k1);
        case 5:
            return accumulate_side_by_side<L, 5>(sums, packed, nvars, datavector, k1);
        case 6:
            return accumulate_side_by_side<L, 6>(sums, packed, nvars, datavector, k1);
        case 7:
            return accumulate_side_by_side<L, 7>(sums, packed, nvars, datavector, k1);
        default:
            return accumulate_side_by_side<L, MAX_GROUPS>(sums, packed, nvars, datavector, k1);
    }
}

// The winner of one datavector, with exact early abandon after `prefix`
// variables (nvars: none); adds the lane-group steps summed to `steps`.
//
// Every lane sums its own distance in index order from 0, so every distance
// that is completed has the bits of the plain loop. First all lanes sum the
// prefix; the group of lanes holding the smallest partial sum is completed and
// its smallest distance becomes the bound. A partial sum only grows (squares
// are never negative) or turns NaN, so a lane whose partial sum is above the
// bound, or NaN, can never attain the minimum: a group of such lanes is
// abandoned. Among the completed lanes the winner is the lowest index of the
// smallest non-NaN distance, which is the plain loop's winner as long as the
// distance to prototype 0 is not NaN; when it is, no later prototype can beat
// it and prototype 0 wins.
template <class L>
std::int32_t find_winner_lanes(const double* packed, std::int32_t nprotos, std::int32_t nvars,
                               const double* datavector, std::int32_t prefix, std::int64_t& steps) noexcept {
    const std::int32_t groups = groups_of<L>(nprotos);
    const auto valid = [&](std::int32_t g) { return valid_lanes<L>(nprotos, g); };
    const auto accumulate = [&](L& sum, std::int32_t g, std::int32_t k0, std::int32_t k1) {
        const double* lanes = group_values<L>(packed, nvars, g);
        steps += k1 - k0;
        L running = sum;
        for (std::int32_t k = k0; k < k1; ++k) {
            const L d = L::load(lanes + static_cast<std::ptrdiff_t>(k) * WIDTH) - L::broadcast(datavector[k]);
            running = running + d * d;
        }
        sum = running;
    };
    // The first group, in index order among `among`, with a lane equal to m.
    const auto first_group_holding = [&](const L* sums, double m, unsigned among) {
        for (std::int32_t g = 0; g < groups; ++g) {
            if ((among & (1u << g)) != 0 && (L::equal(sums[g], L::broadcast(m)) & valid(g)) != 0) return g;
        }
        return std::int32_t{-1};
    };

    L sums[MAX_GROUPS];
    for (std::int32_t g = 0; g < groups; ++g) sums[g] = L::zero();
    accumulate_groups(sums, groups, packed, nvars, datavector, prefix);
    steps += static_cast<std::int64_t>(groups) * prefix;
    const unsigned all = (1u << groups) - 1u;
    unsigned completed = all;
    std::int32_t group0_abandoned_at = -1;
    if (prefix < nvars) {
        L smallest = L::broadcast(__builtin_inf());
        for (std::int32_t g = 0; g < groups; ++g) smallest = L::min(smallest, usable(sums[g], valid(g)));
        std::int32_t guess = first_group_holding(sums, smallest_lane(smallest), all);
        if (guess < 0) guess = 0;
        accumulate(sums[guess], guess, prefix, nvars);
        const L bound = L::broadcast(smallest_lane(usable(sums[guess], valid(guess))));
        unsigned alive = all & ~(1u << guess);
        for (std::int32_t k0 = prefix; k0 < nvars && alive != 0; k0 += ABANDON_CHECK_INTERVAL) {
            const std::int32_t k1 = nvars - k0 < ABANDON_CHECK_INTERVAL ? nvars : k0 + ABANDON_CHECK_INTERVAL;
            for (std::int32_t g = 0; g < groups; ++g) {
                if ((alive & (1u << g)) == 0) continue;
                if ((L::less_equal(sums[g], bound) & valid(g)) == 0) {
                    alive &= ~(1u << g);
                    if (g == 0) group0_abandoned_at = k0;
                    continue;
                }
                accumulate(sums[g], g, k0, k1);
            }
        }
        completed = alive | (1u << guess);
    }

    // Prototype 0's distance is NaN when its partial sum is or a later
    // difference is: a NaN difference is the only way a sum turns NaN.
    if ((L::less_equal(sums[0], sums[0]) & 1u) == 0) return 0;
    if (group0_abandoned_at >= 0) {
        for (std::int32_t k = group0_abandoned_at; k < nvars; ++k) {
            const double d = packed[static_cast<std::ptrdiff_t>(k) * WIDTH] - datavector[k];
            if (d != d) return 0;
        }
    }
    L smallest = L::broadcast(__builtin_inf());
    for (std::int32_t g = 0; g < groups; ++g) {
        if ((completed & (1u << g)) != 0) smallest = L::min(smallest, usable(sums[g], valid(g)));
    }
    const double m = smallest_lane(smallest);
    const std::int32_t g = first_group_holding(sums, m, completed);
    if (g < 0) return 0;  // every completed distance is NaN; cannot happen when prototype 0's is not
    return g * WIDTH + __builtin_ctz(L::equal(sums[g], L::broadcast(m)) & valid(g));
}

// The winners of a batch of datavectors. The screens pick the candidates:
// the single-precision one where it can, else the double one; datavectors out
// of both ranges, and all of them when the prototypes are, go to the exact
// search.
//
// Early abandon in that search costs checks and a longer chain of dependent
// sums, which data whose distances are all alike never repays; so the first
// PROBE datavectors measure what it saves and the others of the call go
// without it when too little. Either way the winners are the same.
//
// A bound comes from the screen that left a single candidate (the smallest
// of its lower bounds, which is the winner's), or is the distance measured to
// pick among several; the exact search gives 0.
template <class L, class F>
void find_winners(const double* packed, const double* norms, std::int32_t nprotos, std::int32_t nvars,
                  const FloatScreen& screen, const double* const* rows, std::int32_t count,
                  std::int32_t* winners, double* bounds) noexcept {
    // Datavectors side by side in the single-precision screen, as many as the
    // registers hold the sums of.
    constexpr int D = F::CHAINS >= 4 ? 4 : F::CHAINS >= 2 ? 2 : 1;
    const bool double_screen = prototypes_screenable<L>(norms, nprotos);
    std::int32_t prefix = nvars < PREFIX ? nvars : PREFIX;
    std::int64_t steps = 0;
    std::int32_t exact_searches = 0;
    for (std::int32_t first = 0; first < count; first += D) {
        const std::int32_t side_by_side = count - first < D ? count - first : D;
        // The next group, if any, comes from memory while this one is screened.
        const std::int32_t ahead = count - first - D < D ? count - first - D : D;
        RowFetch fetch = ahead > 0 ? RowFetch{rows + first + D, ahead, nvars} : RowFetch{};
        std::uint64_t screened[D] = {};
        ScreenLow lows[D];
        ScreenLow* wanted = bounds != nullptr ? lows : nullptr;
        if (screen.packed != nullptr && side_by_side == D) {
            float_screen_candidates<L, F, D>(screen, nprotos, nvars, rows + first, screened, wanted, fetch);
        } else if (screen.packed != nullptr) {
            for (std::int32_t d = 0; d < side_by_side; ++d)
                float_screen_candidates<L, F, 1>(screen, nprotos, nvars, rows + first + d, screened + d,
                                                 wanted != nullptr ? wanted + d : nullptr, fetch);
        }
        fetch.rest();
        for (std::int32_t d = 0; d < side_by_side; ++d) {
            const std::int32_t i = first + d;
            std::uint64_t candidates = screened[d];
            if (candidates == 0 && double_screen)
                candidates = screen_candidates<L>(packed, norms, nprotos, nvars, rows[i],
                                                  wanted != nullptr ? &lows[d] : nullptr);
            if (candidates != 0) {
                double distance = -1.0;
                winners[i] = winner_among<L>(packed, nvars, rows[i], candidates, distance);
                if (bounds != nullptr)
                    bounds[i] = distance >= 0.0 ? distance : screen_lower_bound<L>(lows[d]);
                continue;
            }
            if (bounds != nullptr) bounds[i] = 0.0;
            if (exact_searches++ == PROBE) {
                const double full = static_cast<double>(groups_of<L>(nprotos)) * nvars * PROBE;
                if (static_cast<double>(steps) > (1.0 - ABANDON_PAYS) * full) prefix = nvars;
            }
            winners[i] = find_winner_lanes<L>(packed, nprotos, nvars, rows[i], prefix, steps);
        }
    }
}

// One datavector whose winner the next step waits for. Without the screen:
// all groups side by side, without abandon, so that the sums take the shortest
// time from first to last rather than the least work.
template <class L>
std::int32_t find_winner(const double* packed, const double* norms, std::int32_t nprotos, std::int32_t nvars,
                         const double* datavector) noexcept {
    if (prototypes_screenable<L>(norms, nprotos)) {
        const std::uint64_t candidates =
            screen_candidates<L>(packed, norms, nprotos, nvars, datavector, nullptr);
        double distance = 0.0;
        if (candidates != 0) return winner_among<L>(packed, nvars, datavector, candidates, distance);
    }
    std::int64_t steps = 0;
    return find_winner_lanes<L>(packed, nprotos, nvars, datavector, nvars, steps);
}

template <class L, class F>
constexpr LaneKernels lane_kernels() noexcept {
    return {&find_winners<L, F>, &find_winner<L>,  &screen_rows_ahead<L, F>, &find_row_winner<L, F>,
            &move_rows<L, F>,    &settle_moves<L>, &measure_norms<L>};
}

}  // namespace veltra::core::lanes
