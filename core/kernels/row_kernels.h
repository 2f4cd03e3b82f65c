#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/float_screen.h"
#include "core/kernels/lane_common.h"

// The presentations of a training epoch, on prototypes kept in rows: a
// presentation moves a few prototypes, and in rows it touches only theirs.
// Next to each row lies its single-precision copy for the screen of
// float_screen.h, shifted and scaled as there and renewed by every move, so
// that each search screens with the prototypes as they are. The screen's
// proof does not depend on the order of its sums, which here run along the
// rows; what it needs of the prototypes is checked after every move: a
// prototype whose squared norm in the screen's coordinates is above
// FLOAT_SCREEN_LIMIT, or NaN, sends the searches to the exact loop until a
// move brings it back.
//
// Included, like lane_kernels.h, by each instruction set's unit only.
namespace veltra::core::lanes {

// Rows are padded with zeros to whole vectors: `stride` values (a multiple of
// WIDTH) in `values`, `float_stride` (a multiple of FLOAT_WIDTH, at least
// `stride`) in `screen`, whose rows hold (v - shift[k]) * scale rounded to
// float. There are rows for nprotos rounded up to a multiple of WIDTH, those
// past the last prototype all zeros. `norms` holds each screen row's squared
// norm before the rounding to float (0 past the last prototype);
// `unscreenable` has bit p set while prototype p is out of the screen's range;
// without `has_screen` (prototypes for which no shift and scale could be
// chosen) the screen rows are not kept. `shifted` is room for one datavector
// in the screen's coordinates, zeros past nvars.
struct PrototypeRowsView {
    double* values = nullptr;
    float* screen = nullptr;
    float* norms = nullptr;
    double* shift = nullptr;
    float* shifted = nullptr;
    double scale = 1.0;
    std::uint64_t unscreenable = 0;
    bool has_screen = false;
    std::int32_t nprotos = 0;
    std::int32_t nvars = 0;
    std::int32_t stride = 0;
    std::int32_t float_stride = 0;
};

// dots[p + b] := the float dot product of screen rows p..p+B-1 with the
// shifted datavector, B rows side by side so that their chains overlap.
template <class F, int B>
void row_dots(const PrototypeRowsView& rows, std::int32_t p, float* dots) noexcept {
    F sums[B];
    for (int b = 0; b < B; ++b) sums[b] = F::zero();
    const float* first = rows.screen + static_cast<std::ptrdiff_t>(p) * rows.float_stride;
    for (std::int32_t k = 0; k < rows.float_stride; k += FLOAT_WIDTH) {
        const F a = F::load(rows.shifted + k);
        for (int b = 0; b < B; ++b)
            sums[b] = F::multiply_add(F::load(first + static_cast<std::ptrdiff_t>(b) * rows.float_stride + k),
                                      a, sums[b]);
    }
    for (int b = 0; b < B; ++b) dots[p + b] = F::sum(sums[b]);
}

// The candidates of the screen for one datavector; 0 when it or the
// prototypes are out of its range.
template <class L, class F>
std::uint64_t row_screen_candidates(const PrototypeRowsView& rows, const double* datavector) noexcept {
    if (!rows.has_screen || rows.unscreenable != 0) return 0;
    const L scale = L::broadcast(rows.scale);
    const std::int32_t nvars = rows.nvars;
    const double* shift = rows.shift;
    float* shifted = rows.shifted;
    L squares = L::zero();
    for (std::int32_t k = 0; k < nvars; k += WIDTH) {
        const std::int32_t left = nvars - k;
        const L x = left >= WIDTH ? L::load(datavector + k) : L::load_first(datavector + k, left);
        const L a = (x - L::load(shift + k)) * scale;
        squares = L::multiply_add(a, a, squares);
        a.store_as_floats(shifted + k);
    }
    constexpr int B = 2 * F::CHAINS;
    alignas(64) float dots[MAX_LANE_PROTOTYPES];
    const std::int32_t padded = (rows.nprotos + WIDTH - 1) / WIDTH * WIDTH;
    for (std::int32_t p = 0; p < padded; p += B) row_dots<F, B>(rows, p, dots);
    for (std::int32_t p = padded; p % FLOAT_WIDTH != 0; ++p) dots[p] = 0.0f;
    const FloatScreen screen = {rows.screen, rows.norms, rows.shift, rows.scale};
    return float_candidates<F>(screen, rows.nprotos, nvars, sum_of_lanes(squares), dots, nullptr);
}

// The plain loop's squared distance of a datavector to row p.
inline double row_distance(const PrototypeRowsView& rows, std::int32_t p, const double* datavector) noexcept {
    const double* values = rows.values + static_cast<std::ptrdiff_t>(p) * rows.stride;
    double sum = 0.0;
    for (std::int32_t k = 0; k < rows.nvars; ++k) {
        const double d = values[k] - datavector[k];
        sum += d * d;
    }
    return sum;
}

// The plain loop's winner, every distance summed as it sums them, four rows
// at a time so that their chains overlap.
inline std::int32_t exact_row_winner(const PrototypeRowsView& rows, const double* datavector) noexcept {
    constexpr std::int32_t SIDE = 4;
    double distances[MAX_LANE_PROTOTYPES];
    for (std::int32_t p = 0; p < rows.nprotos; p += SIDE) {
        const double* values = rows.values + static_cast<std::ptrdiff_t>(p) * rows.stride;
        double sums[SIDE] = {};
        for (std::int32_t k = 0; k < rows.nvars; ++k) {
            for (std::int32_t s = 0; s < SIDE; ++s) {
                const double d = values[static_cast<std::ptrdiff_t>(s) * rows.stride + k] - datavector[k];
                sums[s] += d * d;
            }
        }
        for (std::int32_t s = 0; s < SIDE; ++s) distances[p + s] = sums[s];
    }
    std::int32_t best = 0;
    for (std::int32_t p = 1; p < rows.nprotos; ++p) {
        if (distances[p] < distances[best]) best = p;
    }
    return best;
}

// The winner of one datavector by the rule of find_winner: the lowest index
// of the smallest exact distance among the screen's candidates, or of all
// prototypes when the screen gives none.
template <class L, class F>
std::int32_t find_row_winner(const PrototypeRowsView& rows, const double* datavector) noexcept {
    std::uint64_t candidates = row_screen_candidates<L, F>(rows, datavector);
    if (candidates == 0) return exact_row_winner(rows, datavector);
    auto best = static_cast<std::int32_t>(__builtin_ctzll(candidates));
    candidates &= candidates - 1;
    if (candidates == 0) return best;
    double best_distance = row_distance(rows, best, datavector);
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto p = static_cast<std::int32_t>(__builtin_ctzll(candidates));
        const double d = row_distance(rows, p, datavector);
        if (d < best_distance) {
            best_distance = d;
            best = p;
        }
    }
    return best;
}

// Moves one row as move_rows does; returns the squared norm of its screen
// row when SCREEN. Fields are read into locals first: the stores could alias
// them.
template <class L, bool SCREEN>
double move_row(double* values, float* screen_values, const double* shift, L scale, std::int32_t nvars,
                const double* datavector, L rate) noexcept {
    L norms[2] = {L::zero(), L::zero()};
    const auto move_vector = [&](std::int32_t k, L& norm) {
        const std::int32_t left = nvars - k;
        // Past nvars the rows and x are 0, and so stay the moved values.
        const L x = left >= WIDTH ? L::load(datavector + k) : L::load_first(datavector + k, left);
        const L v = L::load(values + k);
        const L moved = v + rate * (x - v);
        moved.store(values + k);
        if constexpr (SCREEN) {
            const L b = (moved - L::load(shift + k)) * scale;
            b.store_as_floats(screen_values + k);
            norm = L::multiply_add(b, b, norm);
        }
    };
    std::int32_t k = 0;
    for (; k + 2 * WIDTH <= nvars; k += 2 * WIDTH) {
        move_vector(k, norms[0]);
        move_vector(k + WIDTH, norms[1]);
    }
    for (; k < nvars; k += WIDTH) move_vector(k, norms[0]);
    return sum_of_lanes(norms[0] + norms[1]);
}

// Each prototype p with bit p of `moving` set moves every value v to v +
// rates[p] * (datavector[k] - v), and its screen row and norm follow.
template <class L>
void move_rows(PrototypeRowsView& rows, const double* datavector, const double* rates,
               std::uint64_t moving) noexcept {
    const L scale = L::broadcast(rows.scale);
    const PrototypeRowsView r = rows;
    std::uint64_t unscreenable = r.unscreenable;
    for (; moving != 0; moving &= moving - 1) {
        const auto p = static_cast<std::int32_t>(__builtin_ctzll(moving));
        double* values = r.values + static_cast<std::ptrdiff_t>(p) * r.stride;
        float* screen_values = r.screen + static_cast<std::ptrdiff_t>(p) * r.float_stride;
        const L rate = L::broadcast(rates[p]);
        if (!r.has_screen) {
            move_row<L, false>(values, screen_values, r.shift, scale, r.nvars, datavector, rate);
            continue;
        }
        const double norm =
            move_row<L, true>(values, screen_values, r.shift, scale, r.nvars, datavector, rate);
        r.norms[p] = static_cast<float>(norm);
        const std::uint64_t bit = std::uint64_t{1} << p;
        unscreenable = norm <= FLOAT_SCREEN_LIMIT ? unscreenable & ~bit : unscreenable | bit;
    }
    rows.unscreenable = unscreenable;
}

}  // namespace veltra::core::lanes
