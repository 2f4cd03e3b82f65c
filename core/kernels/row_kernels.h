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

// Up to this many datavectors are screened in one sweep of the rows.
inline constexpr std::int32_t SCREEN_AHEAD = 4;

// Rows are padded with zeros to whole vectors: `stride` values (a multiple of
// WIDTH) in `values`, `float_stride` (a multiple of FLOAT_WIDTH, at least
// `stride`) in `screen`, whose rows hold (v - shift[k]) * scale rounded to
// float. There are rows for nprotos rounded up to a multiple of WIDTH, those
// past the last prototype all zeros. `norms` holds each screen row's squared
// norm before the rounding to float (0 past the last prototype);
// `unscreenable` has bit p set while prototype p is out of the screen's range;
// without `has_screen` (prototypes for which no shift and scale could be
// chosen) the screen rows are not kept.
//
// The datavectors of the next few presentations are screened together, so
// that each load of a screen row serves all of them: `ahead` holds them,
// `shifted` (SCREEN_AHEAD rows of float_stride, zeros past nvars) each in the
// screen's coordinates, `squares` their squared norms there, and row i of
// `dots` (MAX_LANE_PROTOTYPES entries a row) their dot products with the
// screen rows, renewed for the rows that each move changes. `next` is the
// index of the next one to search.
struct PrototypeRowsView {
    double* values = nullptr;
    float* screen = nullptr;
    float* norms = nullptr;
    double* shift = nullptr;
    float* shifted = nullptr;
    float* dots = nullptr;
    double scale = 1.0;
    std::uint64_t unscreenable = 0;
    bool has_screen = false;
    std::int32_t nprotos = 0;
    std::int32_t nvars = 0;
    std::int32_t stride = 0;
    std::int32_t float_stride = 0;
    const double* ahead[SCREEN_AHEAD] = {};
    double squares[SCREEN_AHEAD] = {};
    std::int32_t ahead_count = 0;
    std::int32_t next = 0;
};

// Row i of rows.dots at p..p+B-1 := the float dot products of screen rows
// p..p+B-1 with shifted datavector i < M, B rows side by side so that their
// chains overlap and M datavectors so that each load of a row serves them all.
template <class F, int M, int B>
void row_dots(const PrototypeRowsView& rows, std::int32_t p) noexcept {
    F sums[M][B];
    for (int i = 0; i < M; ++i) {
        for (int b = 0; b < B; ++b) sums[i][b] = F::zero();
    }
    const std::ptrdiff_t stride = rows.float_stride;
    const float* first = rows.screen + p * stride;
    for (std::ptrdiff_t k = 0; k < stride; k += FLOAT_WIDTH) {
        F a[M];
        for (int i = 0; i < M; ++i) a[i] = F::load(rows.shifted + i * stride + k);
        for (int b = 0; b < B; ++b) {
            const F v = F::load(first + b * stride + k);
            for (int i = 0; i < M; ++i) sums[i][b] = F::multiply_add(v, a[i], sums[i][b]);
        }
    }
    for (int i = 0; i < M; ++i) {
        for (int b = 0; b < B; ++b) rows.dots[i * MAX_LANE_PROTOTYPES + p + b] = F::sum(sums[i][b]);
    }
}

// Row 0 of rows.dots at p..p+FLOAT_WIDTH-1 := the float dot products of
// screen rows p..p+B-1 (B = FLOAT_WIDTH, or half of it with zeros after)
// with shifted datavector 0, their sums added across the lanes all at once.
template <class F, int B>
void row_dots_across(const PrototypeRowsView& rows, std::int32_t p) noexcept {
    F sums[FLOAT_WIDTH];
    for (F& sum : sums) sum = F::zero();
    const std::ptrdiff_t stride = rows.float_stride;
    const float* first = rows.screen + p * stride;
    for (std::ptrdiff_t k = 0; k < stride; k += FLOAT_WIDTH) {
        const F a = F::load(rows.shifted + k);
        for (int b = 0; b < B; ++b) sums[b] = F::multiply_add(F::load(first + b * stride + k), a, sums[b]);
    }
    F::lane_sums(sums).store(rows.dots + p);
}

template <class F, int M>
void sweep_rows(const PrototypeRowsView& rows) noexcept {
    const std::int32_t padded = (rows.nprotos + WIDTH - 1) / WIDTH * WIDTH;
    // One datavector, where the registers hold a sum for each of FLOAT_WIDTH
    // rows: the rows' horizontal sums, which at few variables cost more than
    // the products, come out together.
    if constexpr (M == 1 && F::CHAINS >= 4) {
        std::int32_t p = 0;
        for (; p + FLOAT_WIDTH <= padded; p += FLOAT_WIDTH) row_dots_across<F, FLOAT_WIDTH>(rows, p);
        // The rest is half a group (padded is a multiple of WIDTH), and the
        // rows of dots have room for the whole one.
        if (p < padded) row_dots_across<F, FLOAT_WIDTH / 2>(rows, p);
        return;
    }
    // Sums enough for the multiply-adders, few enough for the registers.
    constexpr int B = M <= 2 ? 2 * F::CHAINS : M <= 4 ? F::CHAINS : M <= 8 ? 2 : 1;
    for (std::int32_t p = 0; p < padded; p += B) row_dots<F, M, B>(rows, p);
    for (int i = 0; i < M; ++i) {
        for (std::int32_t p = padded; p % FLOAT_WIDTH != 0; ++p)
            rows.dots[i * MAX_LANE_PROTOTYPES + p] = 0.0f;
    }
}

// Calls f(Count<count>{}) for a count from 0 to N.
template <int N, class Function>
void with_count(std::int32_t count, Function&& f) noexcept {
    if constexpr (N > 0) {
        if (count < N) return with_count<N - 1>(count, f);
    }
    f(Count<N>{});
}

// Screens the datavectors of the next `count` presentations (1 to
// SCREEN_AHEAD) in one sweep of the screen rows; find_row_winner then takes
// them in order.
template <class L, class F>
void screen_rows_ahead(PrototypeRowsView& rows, const double* const* datavectors,
                       std::int32_t count) noexcept {
    rows.ahead_count = count;
    rows.next = 0;
    for (std::int32_t i = 0; i < count; ++i) rows.ahead[i] = datavectors[i];
    if (!rows.has_screen) return;
    // Fields in locals: the stores could alias them.
    const L scale = L::broadcast(rows.scale);
    const double* shift = rows.shift;
    const std::int32_t nvars = rows.nvars;
    const std::int32_t whole = nvars / WIDTH * WIDTH;
    for (std::int32_t i = 0; i < count; ++i) {
        const double* x = datavectors[i];
        float* shifted = rows.shifted + static_cast<std::ptrdiff_t>(i) * rows.float_stride;
        L squares = L::zero();
        const auto shift_vector = [&](std::int32_t k, L v) {
            const L a = (v - L::load(shift + k)) * scale;
            squares = L::multiply_add(a, a, squares);
            a.store_as_floats(shifted + k);
        };
        std::int32_t k = 0;
        for (; k < whole; k += WIDTH) shift_vector(k, L::load(x + k));
        if (k < nvars) shift_vector(k, L::load_first(x + k, nvars - k));
        rows.squares[i] = sum_of_lanes(squares);
    }
    with_count<SCREEN_AHEAD>(count, [&](auto m) {
        if constexpr (decltype(m)::value > 0) sweep_rows<F, decltype(m)::value>(rows);
    });
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

// The winner of the next screened datavector by the rule of find_winner:
// the lowest index of the smallest exact distance among the screen's
// candidates, or of all prototypes when the screen gives none.
template <class L, class F>
std::int32_t find_row_winner(PrototypeRowsView& rows) noexcept {
    const std::int32_t i = rows.next++;
    const double* datavector = rows.ahead[i];
    std::uint64_t candidates = 0;
    if (rows.has_screen && rows.unscreenable == 0) {
        const FloatScreen screen = {rows.screen, rows.norms, rows.shift, rows.scale};
        candidates =
            float_candidates<F>(screen, rows.nprotos, rows.nvars, rows.squares[i],
                                rows.dots + static_cast<std::ptrdiff_t>(i) * MAX_LANE_PROTOTYPES, nullptr);
    }
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

// Moves row p as move_rows does; returns the squared norm of its screen row
// when SCREEN, and puts the row's dot products with the P datavectors still
// to be searched into their rows of `dots`. Fields are read into locals
// first: the stores could alias them.
template <class L, class F, bool SCREEN, int P>
double move_row(const PrototypeRowsView& r, std::int32_t p, const double* datavector, L rate) noexcept {
    double* values = r.values + static_cast<std::ptrdiff_t>(p) * r.stride;
    float* screen_values = r.screen + static_cast<std::ptrdiff_t>(p) * r.float_stride;
    const double* shift = r.shift;
    const L scale = L::broadcast(r.scale);
    const std::int32_t nvars = r.nvars;
    const std::ptrdiff_t float_stride = r.float_stride;
    const float* shifted = r.shifted + r.next * float_stride;
    float* dots = r.dots + static_cast<std::ptrdiff_t>(r.next) * MAX_LANE_PROTOTYPES + p;
    L norms[2] = {L::zero(), L::zero()};
    F sums[P > 0 ? P : 1];
    for (F& sum : sums) sum = F::zero();
    // The moved vector at k, in the screen's coordinates when SCREEN.
    const auto move_vector = [&](std::int32_t k, L x, L& norm) {
        const L v = L::load(values + k);
        const L moved = v + rate * (x - v);
        moved.store(values + k);
        if constexpr (!SCREEN) return moved;
        const L b = (moved - L::load(shift + k)) * scale;
        b.store_as_floats(screen_values + k);
        norm = L::multiply_add(b, b, norm);
        return b;
    };
    const auto add_products = [&](std::int32_t k, L low, L high) {
        const F b = F::from_doubles(low, high);
        for (int i = 0; i < P; ++i)
            sums[i] = F::multiply_add(b, F::load(shifted + i * float_stride + k), sums[i]);
    };
    std::int32_t k = 0;
    for (; k + 2 * WIDTH <= nvars; k += 2 * WIDTH) {
        const L low = move_vector(k, L::load(datavector + k), norms[0]);
        const L high = move_vector(k + WIDTH, L::load(datavector + k + WIDTH), norms[1]);
        if constexpr (P > 0) add_products(k, low, high);
    }
    // Past nvars the rows and x are 0, and so stay the moved values.
    if (k < nvars) {
        const std::int32_t left = nvars - k;
        const L low = move_vector(
            k, left >= WIDTH ? L::load(datavector + k) : L::load_first(datavector + k, left), norms[0]);
        L high = L::zero();
        if (left > WIDTH)
            high = move_vector(k + WIDTH, L::load_first(datavector + k + WIDTH, left - WIDTH), norms[1]);
        if constexpr (P > 0) add_products(k, low, high);
    }
    for (int i = 0; i < P; ++i) dots[i * MAX_LANE_PROTOTYPES] = F::sum(sums[i]);
    return sum_of_lanes(norms[0] + norms[1]);
}

// Each prototype p with bit p of `moving` set moves every value v to v +
// rates[p] * (datavector[k] - v), and its screen row, norm and dot products
// with the datavectors still to be searched follow.
template <class L, class F>
void move_rows(PrototypeRowsView& rows, const double* datavector, const double* rates,
               std::uint64_t moving) noexcept {
    const PrototypeRowsView r = rows;
    std::uint64_t unscreenable = r.unscreenable;
    const std::int32_t pending = r.ahead_count - r.next;
    with_count<SCREEN_AHEAD>(pending, [&](auto count) {
        for (; moving != 0; moving &= moving - 1) {
            const auto p = static_cast<std::int32_t>(__builtin_ctzll(moving));
            const L rate = L::broadcast(rates[p]);
            if (!r.has_screen) {
                move_row<L, F, false, 0>(r, p, datavector, rate);
                continue;
            }
            const double norm = move_row<L, F, true, decltype(count)::value>(r, p, datavector, rate);
            r.norms[p] = static_cast<float>(norm);
            const std::uint64_t bit = std::uint64_t{1} << p;
            unscreenable = norm <= FLOAT_SCREEN_LIMIT ? unscreenable & ~bit : unscreenable | bit;
        }
    });
    rows.unscreenable = unscreenable;
}

}  // namespace veltra::core::lanes
