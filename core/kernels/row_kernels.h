#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/float_screen.h"
#include "core/kernels/lane_common.h"
#include "core/kernels/row_fetch.h"

// The presentations of a training epoch, on prototypes kept in rows: a
// presentation moves a few prototypes, and in rows it touches only theirs.
// Their winner searches are screened in single precision, shifted and scaled
// as in float_screen.h, a batch of datavectors at a time, with bounds that
// follow every move of the batch (the proof is above screen_rows_ahead); a
// prototype or datavector whose squared norm in the screen's coordinates is
// above FLOAT_SCREEN_LIMIT, or NaN, or a rate outside [0, 1], sends the
// searches of its batch to the exact loop.
//
// Included, like lane_kernels.h, by each instruction set's unit only.
namespace veltra::core::lanes {

// Up to this many datavectors are screened in one batch.
inline constexpr std::int32_t SCREEN_AHEAD = 16;
// Their screen rows are swept for the dot products this many at a time.
inline constexpr std::int32_t SWEPT_AT_ONCE = 4;
// The screen rows after the prototypes': the datavectors' and zeros below
// them, which a sweep of whole groups of FLOAT_WIDTH rows may read.
inline constexpr std::int32_t EXTRA_SCREEN_ROWS = SCREEN_AHEAD + FLOAT_WIDTH;
// Entries in a row of PrototypeRowsView::dots, one a screen row.
inline constexpr std::int32_t DOTS_ROW = MAX_LANE_PROTOTYPES + EXTRA_SCREEN_ROWS;

// Rows are padded with zeros to whole vectors: `stride` values (a multiple of
// WIDTH) in `values`, `float_stride` (a multiple of FLOAT_WIDTH, at least
// `stride`) in `screen`. There are rows for nprotos rounded up to a multiple
// of WIDTH (`padded`), those past the last prototype all zeros; without
// `has_screen` (prototypes for which no shift and scale could be chosen) the
// searches take the exact loop. `shift_length` bounds |shift| scale.
//
// The datavectors of the next presentations are screened as a batch (see
// screen_rows_ahead below for the proof). At its start the screen rows get
// the prototypes as they are, (v - shift[k]) * scale rounded to float, and
// the rows after them (`shifted`, at screen + nprotos * float_stride) the
// batch's datavectors in the same coordinates; one sweep gives the dot
// products of the batch with all of them at once (`dots`, DOTS_ROW a
// datavector). From those come `estimates` (row s: the squared distances of
// datavector s to the prototypes, MAX_LANE_PROTOTYPES a row) and `gram`
// (row s, entry t < s: the squared distance of datavectors s and t), and each
// move then renews the estimates of the datavectors still to be searched
// from those numbers alone. `reach`, `drift`, `squares`, `lengths` and
// `rounding` bound the errors. `ahead` holds the batch, `count` of them,
// `next` the index of the next one to search; without `screened` (out of the
// screen's range) the batch takes the exact loop.
//
// The moves wait: bit p % 8 of moved[p / 8][s] is set when row p is to move
// toward ahead[s], at the rate in row s of `rates` (MAX_LANE_PROTOTYPES a
// row), for the `recorded` presentations s so far, and row p has made those
// before settled[p]. A byte a presentation and eight rows, rather than a bit
// set row by row, so that recording a move costs the same however many rows
// it moves. A row makes its moves when its exact distance is needed, and all
// rows make theirs at the start of the next batch, block by block so that
// each block of the datavectors is read from the cache by every row that
// moves toward it, and each moved block becomes the screen's at once. Every
// value gets the same operations in the same order as when each move is made
// at once.
//
// `norms` holds the prototypes' squared norms in the screen's coordinates;
// where `current[p]` is set, row p's screen row and norm are those of its
// values, and a row that no presentation of the batch moves keeps them.
struct PrototypeRowsView {
    double* values = nullptr;
    float* screen = nullptr;
    double* shift = nullptr;
    float* shifted = nullptr;
    float* dots = nullptr;
    double* estimates = nullptr;
    double* gram = nullptr;
    double* reach = nullptr;
    double* drift = nullptr;
    double* rates = nullptr;
    double scale = 1.0;
    double shift_length = 0.0;
    bool has_screen = false;
    std::int32_t nprotos = 0;
    std::int32_t padded = 0;
    std::int32_t nvars = 0;
    std::int32_t stride = 0;
    std::int32_t float_stride = 0;
    const double* ahead[SCREEN_AHEAD] = {};
    double squares[SCREEN_AHEAD] = {};
    double lengths[SCREEN_AHEAD] = {};
    double rounding = 0.0;
    bool screened = false;
    std::int32_t count = 0;
    std::int32_t next = 0;
    unsigned char moved[MAX_LANE_PROTOTYPES / 8][SCREEN_AHEAD] = {};
    std::int32_t recorded = 0;
    std::int32_t settled[MAX_LANE_PROTOTYPES] = {};
    double norms[MAX_LANE_PROTOTYPES] = {};
    bool current[MAX_LANE_PROTOTYPES] = {};
};

// Bit s set for each presentation s of the batch whose move row p has yet to
// make.
inline std::uint32_t waiting_moves(const PrototypeRowsView& rows, std::int32_t p) noexcept {
    std::uint32_t waiting = 0;
    for (std::int32_t s = rows.settled[p]; s < rows.recorded; ++s)
        waiting |= static_cast<std::uint32_t>((rows.moved[p / 8][s] >> (p % 8)) & 1u) << s;
    return waiting;
}

// waiting[p] := waiting_moves(rows, p) and moves[p] := the bits of all the
// batch's moves of row p, made or not, for every row, eight rows and eight
// presentations at a time: bit j of byte s of a word becomes bit s of byte j.
inline void all_waiting_moves(const PrototypeRowsView& rows, std::uint32_t* waiting,
                              std::uint32_t* moves) noexcept {
    static_assert(SCREEN_AHEAD == 16);
    const auto transposed = [](const unsigned char* bytes) {
        std::uint64_t x;
        __builtin_memcpy(&x, bytes, sizeof x);
        std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
        x ^= t ^ (t << 7);
        t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
        x ^= t ^ (t << 14);
        t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
        return x ^ t ^ (t << 28);
    };
    // Entries past `recorded` may hold an earlier batch's.
    const std::uint32_t recorded = (std::uint32_t{1} << rows.recorded) - 1u;
    for (std::int32_t g = 0; g * 8 < rows.nprotos; ++g) {
        const std::uint64_t first = transposed(rows.moved[g]);
        const std::uint64_t second = transposed(rows.moved[g] + 8);
        for (std::int32_t j = 0; j < 8 && g * 8 + j < rows.nprotos; ++j) {
            const std::int32_t p = g * 8 + j;
            const auto bits = static_cast<std::uint32_t>(((first >> (8 * j)) & 0xffu) |
                                                         (((second >> (8 * j)) & 0xffu) << 8));
            moves[p] = bits & recorded;
            waiting[p] = moves[p] & ~((std::uint32_t{1} << rows.settled[p]) - 1u);
        }
    }
}

// Row i of rows.dots at p..p+B-1 := the float dot products of screen rows
// p..p+B-1 with shifted datavector i < M, B rows side by side so that their
// chains overlap and M datavectors so that each load of a row serves them all.
template <class F, int M, int B>
void row_dots(const PrototypeRowsView& rows, std::int32_t p, RowFetch& fetch) noexcept {
    F sums[M][B];
    for (int i = 0; i < M; ++i) {
        for (int b = 0; b < B; ++b) sums[i][b] = F::zero();
    }
    const std::ptrdiff_t stride = rows.float_stride;
    const float* first = rows.screen + p * stride;
    for (std::ptrdiff_t k = 0; k < stride; k += FLOAT_WIDTH) {
        fetch.next_line();
        F a[M];
        for (int i = 0; i < M; ++i) a[i] = F::load(rows.shifted + i * stride + k);
        for (int b = 0; b < B; ++b) {
            const F v = F::load(first + b * stride + k);
            for (int i = 0; i < M; ++i) sums[i][b] = F::multiply_add(v, a[i], sums[i][b]);
        }
    }
    // Where the lanes' sums of sixteen vectors come out together, they do.
    if constexpr (F::CHAINS >= 4 && M * B <= FLOAT_WIDTH) {
        F all[FLOAT_WIDTH];
        for (int j = 0; j < FLOAT_WIDTH; ++j) all[j] = j < M * B ? sums[j / B][j % B] : F::zero();
        float lanes[FLOAT_WIDTH];
        F::lane_sums(all).store(lanes);
        for (int i = 0; i < M; ++i) {
            for (int b = 0; b < B; ++b) rows.dots[i * DOTS_ROW + p + b] = lanes[i * B + b];
        }
    } else {
        for (int i = 0; i < M; ++i) {
            for (int b = 0; b < B; ++b) rows.dots[i * DOTS_ROW + p + b] = F::sum(sums[i][b]);
        }
    }
}

// Row 0 of rows.dots at p..p+FLOAT_WIDTH-1 := the float dot products of
// screen rows p..p+FLOAT_WIDTH-1 with shifted datavector 0, their sums added
// across the lanes all at once.
template <class F>
void row_dots_across(const PrototypeRowsView& rows, std::int32_t p, RowFetch& fetch) noexcept {
    F sums[FLOAT_WIDTH];
    for (F& sum : sums) sum = F::zero();
    const std::ptrdiff_t stride = rows.float_stride;
    const float* first = rows.screen + p * stride;
    for (std::ptrdiff_t k = 0; k < stride; k += FLOAT_WIDTH) {
        fetch.next_line();
        const F a = F::load(rows.shifted + k);
        for (int b = 0; b < FLOAT_WIDTH; ++b)
            sums[b] = F::multiply_add(F::load(first + b * stride + k), a, sums[b]);
    }
    F::lane_sums(sums).store(rows.dots + p);
}

// The dot products of M shifted datavectors with screen rows 0..count-1 and
// at most FLOAT_WIDTH - 1 after them.
template <class F, int M>
void sweep_rows(const PrototypeRowsView& rows, std::int32_t count, RowFetch& fetch) noexcept {
    // One datavector, where the registers hold a sum for each of FLOAT_WIDTH
    // rows: the rows' horizontal sums, which at few variables cost more than
    // the products, come out together.
    if constexpr (M == 1 && F::CHAINS >= 4) {
        for (std::int32_t p = 0; p < count; p += FLOAT_WIDTH) row_dots_across<F>(rows, p, fetch);
        return;
    }
    // Sums enough for the multiply-adders, few enough for the registers.
    constexpr int B = M <= 2 ? 2 * F::CHAINS : F::CHAINS;
    for (std::int32_t p = 0; p < count; p += B) row_dots<F, M, B>(rows, p, fetch);
}

// Calls f(Count<count>{}) for a count from 0 to N.
template <int N, class Function>
void with_count(std::int32_t count, Function&& f) noexcept {
    if constexpr (N > 0) {
        if (count < N) return with_count<N - 1>(count, f);
    }
    f(Count<N>{});
}

// Column blocks of the rows, in vectors, in which the moves are made: the
// block of each datavector of a batch stays in the first-level cache while
// every row moves toward it.
inline constexpr std::int32_t SETTLED_AT_ONCE = 8;

// Values k..k+N*WIDTH-1 of row p make the row's moves toward the batch's
// datavectors s of the bits of `waiting`, in their order, each value as
// move_toward makes it: v + rate * (x - v). With ToScreen they then become
// the screen row's, (v - shift) * scale rounded to float, their squares
// added to `norm`. Where `left` is below WIDTH, N is 1 and the datavectors end
// `left` values after k; past nvars the rows, the shift and the loaded
// datavector values are 0, and so stay the moved values and the screen's.
template <class L, bool ToScreen, int N>
void settle_values(const PrototypeRowsView& rows, std::int32_t p, std::int32_t k, std::uint32_t waiting,
                   std::int32_t left, L& norm) noexcept {
    double* values = rows.values + static_cast<std::ptrdiff_t>(p) * rows.stride + k;
    L v[N];
    for (int i = 0; i < N; ++i) v[i] = L::load(values + i * WIDTH);
    for (std::uint32_t moves = waiting; moves != 0; moves &= moves - 1) {
        const auto s = static_cast<std::int32_t>(__builtin_ctz(moves));
        const L rate = L::broadcast(rows.rates[s * MAX_LANE_PROTOTYPES + p]);
        const double* x = rows.ahead[s] + k;
        for (int i = 0; i < N; ++i) {
            const L xi = left < WIDTH ? L::load_first(x, left) : L::load(x + i * WIDTH);
            // Every other difference on the multiply-adders, so that they
            // and the adders share the work.
            const L d = i % 2 == 0 ? L::multiplier_difference(xi, v[i]) : xi - v[i];
            v[i] = v[i] + rate * d;
        }
    }
    if (waiting != 0) {
        for (int i = 0; i < N; ++i) v[i].store(values + i * WIDTH);
    }
    if constexpr (ToScreen) {
        // Locals, which the stores cannot alias; four sums, whose chains
        // overlap (their order is the screen's, which any order serves).
        float* screen = rows.screen + static_cast<std::ptrdiff_t>(p) * rows.float_stride + k;
        const double* shift = rows.shift + k;
        const L scale = L::broadcast(rows.scale);
        L parts[4] = {norm, L::zero(), L::zero(), L::zero()};
        for (int i = 0; i < N; ++i) {
            const L b = (v[i] - L::load(shift + i * WIDTH)) * scale;
            b.store_as_floats(screen + i * WIDTH);
            parts[i % 4] = L::multiply_add(b, b, parts[i % 4]);
        }
        norm = (parts[0] + parts[1]) + (parts[2] + parts[3]);
    }
}

// Every row makes the moves it has pending, block by block of
// SETTLED_AT_ONCE vectors. With ToScreen every row that the batch moved or
// that is not current then becomes its screen row, norms[p] its squared norm
// there before the rounding to float, and current.
template <class L, bool ToScreen>
void settle_rows(PrototypeRowsView& rows) noexcept {
    L sums[MAX_LANE_PROTOTYPES];
    for (std::int32_t p = 0; p < rows.nprotos; ++p) sums[p] = L::zero();
    std::uint32_t waiting[MAX_LANE_PROTOTYPES];
    std::uint32_t moves[MAX_LANE_PROTOTYPES];
    all_waiting_moves(rows, waiting, moves);
    bool turned[MAX_LANE_PROTOTYPES];
    for (std::int32_t p = 0; p < rows.nprotos; ++p)
        turned[p] = ToScreen && (moves[p] != 0 || !rows.current[p]);
    const std::int32_t whole = rows.nvars / WIDTH * WIDTH;
    for (std::int32_t k = 0; k < whole; k += SETTLED_AT_ONCE * WIDTH) {
        const std::int32_t vectors = (whole - k) / WIDTH;
        with_count<SETTLED_AT_ONCE>(vectors, [&](auto n) {
            constexpr int N = decltype(n)::value;
            if constexpr (N > 0) {
                for (std::int32_t p = 0; p < rows.nprotos; ++p) {
                    if (turned[p])
                        settle_values<L, ToScreen, N>(rows, p, k, waiting[p], WIDTH, sums[p]);
                    else if (waiting[p] != 0)
                        settle_values<L, false, N>(rows, p, k, waiting[p], WIDTH, sums[p]);
                }
            }
        });
    }
    if (whole < rows.nvars) {
        for (std::int32_t p = 0; p < rows.nprotos; ++p) {
            if (turned[p])
                settle_values<L, ToScreen, 1>(rows, p, whole, waiting[p], rows.nvars - whole, sums[p]);
            else if (waiting[p] != 0)
                settle_values<L, false, 1>(rows, p, whole, waiting[p], rows.nvars - whole, sums[p]);
        }
    }
    for (std::int32_t p = 0; p < rows.nprotos; ++p) {
        if (turned[p]) {
            rows.norms[p] = sum_of_lanes(sums[p]);
            rows.current[p] = true;
        }
    }
    for (std::int32_t p = 0; p < rows.nprotos; ++p) rows.settled[p] = rows.recorded;
}

// Every row makes the moves it has pending.
template <class L>
void settle_moves(PrototypeRowsView& rows) noexcept {
    settle_rows<L, false>(rows);
}

// Row p alone makes the moves it has pending.
template <class L>
void settle_row(PrototypeRowsView& rows, std::int32_t p) noexcept {
    const std::uint32_t waiting = waiting_moves(rows, p);
    rows.settled[p] = rows.recorded;
    if (waiting == 0) return;
    L unused = L::zero();
    const std::int32_t whole = rows.nvars / WIDTH * WIDTH;
    std::int32_t k = 0;
    for (; k + SETTLED_AT_ONCE * WIDTH <= whole; k += SETTLED_AT_ONCE * WIDTH)
        settle_values<L, false, SETTLED_AT_ONCE>(rows, p, k, waiting, WIDTH, unused);
    for (; k < whole; k += WIDTH) settle_values<L, false, 1>(rows, p, k, waiting, WIDTH, unused);
    if (k < rows.nvars) settle_values<L, false, 1>(rows, p, k, waiting, rows.nvars - k, unused);
}

// The screen of a batch. Let u = 2^-24, n = nvars, and work in the screen's
// coordinates, where the plain loop's squared distance, times scale^2 (a
// power of two), is D; A is the datavector and B the prototype there (exact
// real values), A' and F their float roundings, |A - A'| < 2u |A| and
// |B - F| < 2u |B|. Each prototype is followed by a model M, F at the start
// of the batch, which moves as the prototype would without roundings but
// toward the rounded A': M := (1 - r) M + r A'. For any vector y,
//     |y - M'|^2 = (1 - r) |y - M|^2 + r |y - A'|^2 - r (1 - r) |M - A'|^2,
// so the squared distances of the batch's rounded datavectors to the models
// follow every move from numbers the batch holds: `estimates` E, each within
// eps of its model distance, and `gram` G, the squared distances of the
// rounded datavectors to each other.
//   - At the start, E = X + N - 2 P from the double squared norms X of the
//     datavector and N of the prototype and their float dot product P, and
//     G likewise; each errs by at most c (X + N) (resp. c (X_s + X_t)) with
//     c = (n + 16) u (1 + 2 n u)(1 + 2^-20): the float dot product by
//     gamma_n (X + N)(1 + 2.2u), the norms by 2.1u (X + N) against those of
//     the rounded vectors, the double arithmetic by far less than the last
//     factor (n at most 2^20).
//   - With W = N (1 + 2^-20) at the start and W := (1 - r^2) W + r (2 - r) X_t
//     at each move toward datavector t, every eps of a row stays at most
//     c (X_s + W), and |M|^2 <= W: the three errors add up, weighted by
//     1 - r, r and r (1 - r), to exactly that, and the double roundings of
//     at most SCREEN_AHEAD moves stay far inside the slack 2^-20 of c.
//   - |B - M| stays at most the row's `drift` e: 2u |B| at the start, then
//     e := (1 - r) e + r 2u |A_t| + rho, where rho (`rounding`) bounds what
//     the double rounding of a move adds: 4 2^-53 (|r| + |x|) in the
//     original coordinates, so rho = 16 2^-53 (L + shift_length) with L the
//     largest |A| or |B| at the start.
//   - So |A - B| and |A' - M| differ by at most d = 2u |A| + e (`lengths`
//     holds 2u |A|), and with k = 2^-23 (2 d sqrt(E) <= k E + d^2 / k):
//         (1 - k)(E - eps) - d^2 / k  <=  |A - B|^2  <=  (1 + k)(E + eps) + (1 + 1 / k) d^2.
//   - The plain loop's D is within (n + 4) 2^-53 of |A - B|^2 relative,
//     plus underflow below n 2^-110 (the float underflow of the products
//     included, the scale being at most 2^400).
// Every prototype whose lower end is above the smallest upper end can then
// neither win nor tie. The rates must lie in [0, 1], and X and N at most
// FLOAT_SCREEN_LIMIT, so that no float sum overflows; a batch out of that
// range takes the exact loop, and a move out of it, the exact loop for the
// rest of the batch.
inline constexpr double SCREEN_SLACK = 1.0 + 0x1p-20;
inline constexpr double SCREEN_K = 0x1p-23;
inline constexpr std::int32_t MAX_SCREEN_VARS = 1 << 20;

// Makes the moves that wait, each row turning to its screen row as it does,
// then takes the datavectors of the next `count` presentations (1 to
// SCREEN_AHEAD) and screens them as a batch; find_row_winner then takes them
// in order. Meanwhile the rows of `fetch` come from memory.
template <class L, class F>
void screen_batch(PrototypeRowsView& rows, const double* const* datavectors, std::int32_t count,
                  RowFetch& fetch) noexcept {
    const bool screenable = rows.has_screen && rows.nvars <= MAX_SCREEN_VARS;
    // `hold` fixes whether there is a screen and leaves no row current;
    // without a screen none becomes so.
    if (screenable)
        settle_rows<L, true>(rows);
    else
        settle_moves<L>(rows);
    const double* norms = rows.norms;
    rows.count = count;
    rows.next = 0;
    rows.screened = false;
    for (std::int32_t i = 0; i < count; ++i) rows.ahead[i] = datavectors[i];
    rows.recorded = 0;
    for (std::int32_t p = 0; p < rows.nprotos; ++p) rows.settled[p] = 0;
    if (!screenable) return;
    double largest = 0.0;
    for (std::int32_t p = 0; p < rows.nprotos; ++p) {
        if (!(norms[p] <= FLOAT_SCREEN_LIMIT)) return;
        largest = norms[p] > largest ? norms[p] : largest;
    }
    // Fields in locals: the stores could alias them.
    const L scale = L::broadcast(rows.scale);
    const double* shift = rows.shift;
    const std::int32_t nvars = rows.nvars;
    const std::int32_t whole = nvars / WIDTH * WIDTH;
    for (std::int32_t i = 0; i < count; ++i) {
        const double* x = datavectors[i];
        float* shifted = rows.shifted + static_cast<std::ptrdiff_t>(i) * rows.float_stride;
        // Sums of every fourth vector's squares, so that four chains overlap.
        L squares[4] = {L::zero(), L::zero(), L::zero(), L::zero()};
        const auto shift_vector = [&](std::int32_t k, L v, L& sum) {
            const L a = (v - L::load(shift + k)) * scale;
            sum = L::multiply_add(a, a, sum);
            a.store_as_floats(shifted + k);
        };
        std::int32_t k = 0;
        for (; k + 4 * WIDTH <= whole; k += 4 * WIDTH) {
            for (int j = 0; j < 4; ++j) shift_vector(k + j * WIDTH, L::load(x + k + j * WIDTH), squares[j]);
        }
        for (; k < whole; k += WIDTH) shift_vector(k, L::load(x + k), squares[0]);
        if (k < nvars) shift_vector(k, L::load_first(x + k, nvars - k), squares[0]);
        const double square = sum_of_lanes((squares[0] + squares[1]) + (squares[2] + squares[3]));
        if (!(square <= FLOAT_SCREEN_LIMIT)) return;
        rows.squares[i] = square;
        largest = square > largest ? square : largest;
    }
    // Past `count` the squares are an earlier batch's, or 0.
    const L rounding_of_float = L::broadcast(0x1p-23);
    for (std::int32_t i = 0; i < SCREEN_AHEAD; i += WIDTH)
        (rounding_of_float * L::sqrt(L::load(rows.squares + i))).store(rows.lengths + i);
    for (std::int32_t at = 0; at < rows.padded; at += WIDTH) {
        const L n = L::load(norms + at);
        (n * L::broadcast(SCREEN_SLACK)).store(rows.reach + at);
        (rounding_of_float * L::sqrt(n)).store(rows.drift + at);
    }
    rows.rounding = 16.0 * 0x1p-53 * (__builtin_sqrt(largest) * SCREEN_SLACK + rows.shift_length);
    // The dot products: of the datavectors of a sweep with the prototypes,
    // with the datavectors before them and with themselves. The fetch in a
    // local, whose fields can stay in registers.
    RowFetch sweep_fetch = fetch;
    for (std::int32_t first = 0; first < count; first += SWEPT_AT_ONCE) {
        PrototypeRowsView sweep = rows;
        sweep.shifted += static_cast<std::ptrdiff_t>(first) * rows.float_stride;
        sweep.dots += static_cast<std::ptrdiff_t>(first) * DOTS_ROW;
        const std::int32_t swept = count - first < SWEPT_AT_ONCE ? count - first : SWEPT_AT_ONCE;
        with_count<SWEPT_AT_ONCE>(swept, [&](auto m) {
            if constexpr (decltype(m)::value > 0)
                sweep_rows<F, decltype(m)::value>(sweep, rows.nprotos + first + swept, sweep_fetch);
        });
    }
    fetch = sweep_fetch;
    // Whole vectors: the dots past a row's prototypes are those with the
    // datavectors, and a gram row's entries from s on go unread.
    const L two = L::broadcast(2.0);
    for (std::int32_t s = 0; s < count; ++s) {
        const float* dots = rows.dots + static_cast<std::ptrdiff_t>(s) * DOTS_ROW;
        double* estimates = rows.estimates + static_cast<std::ptrdiff_t>(s) * MAX_LANE_PROTOTYPES;
        const L x = L::broadcast(rows.squares[s]);
        for (std::int32_t g = 0; g * WIDTH < rows.padded; ++g) {
            const std::int32_t at = g * WIDTH;
            const L e = (x + L::load(norms + at)) - two * L::load_floats(dots + at);
            L::select(valid_lanes<L>(rows.nprotos, g), e, L::zero()).store(estimates + at);
        }
        double* gram = rows.gram + static_cast<std::ptrdiff_t>(s) * SCREEN_AHEAD;
        for (std::int32_t t = 0; t < s; t += WIDTH)
            ((x + L::load(rows.squares + t)) - two * L::load_floats(dots + rows.nprotos + t)).store(gram + t);
    }
    rows.screened = true;
}

// screen_batch, fetching the `following` datavectors (none, or those of the
// batch after) from memory meanwhile.
template <class L, class F>
void screen_rows_ahead(PrototypeRowsView& rows, const double* const* datavectors, std::int32_t count,
                       const double* const* following, std::int32_t following_count) noexcept {
    RowFetch fetch{following, following_count, rows.nvars, true};
    screen_batch<L, F>(rows, datavectors, count, fetch);
    fetch.rest();
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

// Bit p set for each prototype that may be the winner of batch datavector
// s, by the bounds of the batch's screen.
template <class L>
std::uint64_t row_candidates(const PrototypeRowsView& rows, std::int32_t s) noexcept {
    const double n = rows.nvars;
    const L x = L::broadcast(rows.squares[s]);
    const L length = L::broadcast(rows.lengths[s]);
    const L radius_scale = L::broadcast((n + 16.0) * 0x1p-24 * (1.0 + 2.0 * n * 0x1p-24) * SCREEN_SLACK);
    const L low_scale = L::broadcast((1.0 - SCREEN_K) * (1.0 - (n + 4.0) * 0x1p-53));
    const L high_scale = L::broadcast((1.0 + SCREEN_K) * (1.0 + (n + 4.0) * 0x1p-53));
    const L low_drift = L::broadcast((1.0 / SCREEN_K) * (1.0 - (n + 4.0) * 0x1p-53));
    const L high_drift = L::broadcast((1.0 + 1.0 / SCREEN_K) * (1.0 + (n + 4.0) * 0x1p-53));
    const L floor = L::broadcast(n * 0x1p-110);
    const double* estimates = rows.estimates + static_cast<std::ptrdiff_t>(s) * MAX_LANE_PROTOTYPES;
    const std::int32_t groups = rows.padded / WIDTH;
    L lows[MAX_GROUPS];
    L highest_needed = L::broadcast(__builtin_inf());
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(g) * WIDTH;
        const L e = L::load(estimates + at);
        const L eps = radius_scale * (x + L::load(rows.reach + at));
        const L d = length + L::load(rows.drift + at);
        const L dd = d * d;
        lows[g] = ((e - eps) * low_scale - dd * low_drift) - floor;
        const L high = ((e + eps) * high_scale + dd * high_drift) + floor;
        highest_needed = L::min(highest_needed, usable(high, valid_lanes<L>(rows.nprotos, g)));
    }
    const L bound = L::broadcast(smallest_lane(highest_needed));
    std::uint64_t candidates = 0;
    for (std::int32_t g = 0; g < groups; ++g) {
        const unsigned in = L::less_equal(lows[g], bound) & valid_lanes<L>(rows.nprotos, g);
        candidates |= static_cast<std::uint64_t>(in) << (g * WIDTH);
    }
    return candidates;
}

// The winner of the next screened datavector by the rule of find_winner:
// the lowest index of the smallest exact distance among the screen's
// candidates, or of all prototypes when the screen gives none.
template <class L, class F>
std::int32_t find_row_winner(PrototypeRowsView& rows) noexcept {
    const std::int32_t s = rows.next++;
    const double* datavector = rows.ahead[s];
    std::uint64_t candidates = rows.screened ? row_candidates<L>(rows, s) : 0;
    if (candidates == 0) {
        settle_moves<L>(rows);
        return exact_row_winner(rows, datavector);
    }
    auto best = static_cast<std::int32_t>(__builtin_ctzll(candidates));
    candidates &= candidates - 1;
    if (candidates == 0) return best;
    settle_row<L>(rows, best);
    double best_distance = row_distance(rows, best, datavector);
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto p = static_cast<std::int32_t>(__builtin_ctzll(candidates));
        settle_row<L>(rows, p);
        const double d = row_distance(rows, p, datavector);
        if (d < best_distance) {
            best_distance = d;
            best = p;
        }
    }
    return best;
}

// The estimates of the batch's datavectors after s, the reaches and the
// drifts follow the moves of presentation s, at its kept rates, for the
// prototypes of `moving`; a group of prototypes none of which moves keeps
// its numbers as they are.
template <class L>
void follow_moves(PrototypeRowsView& rows, std::uint64_t moving) noexcept {
    const std::int32_t s = rows.next - 1;
    const std::int32_t groups = rows.padded / WIDTH;
    const L zero = L::zero();
    const L one = L::broadcast(1.0);
    const double* rates = rows.rates + static_cast<std::ptrdiff_t>(s) * MAX_LANE_PROTOTYPES;
    L moved[MAX_GROUPS];
    for (std::int32_t g = 0; g < groups; ++g) {
        moved[g] = L::load(rates + static_cast<std::ptrdiff_t>(g) * WIDTH);
        // Also false for NaN.
        if ((L::less_equal(zero, moved[g]) & L::less_equal(moved[g], one)) != 0xffu) {
            rows.screened = false;
            return;
        }
    }
    const L two = L::broadcast(2.0);
    const L x = L::broadcast(rows.squares[s]);
    const L length = L::broadcast(rows.lengths[s]);
    const L rounding = L::broadcast(rows.rounding);
    // Fields in locals: the stores could alias them.
    double* const all_estimates = rows.estimates;
    double* const reach = rows.reach;
    double* const drift = rows.drift;
    const std::int32_t count = rows.count;
    const double* current = all_estimates + static_cast<std::ptrdiff_t>(s) * MAX_LANE_PROTOTYPES;
    const double* gram = rows.gram + s;
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(g) * WIDTH;
        if (((moving >> at) & 0xffu) == 0) continue;
        const L r = moved[g];
        const L keep = one - r;
        const L own = r * keep * L::load(current + at);
        for (std::int32_t t = s + 1; t < count; ++t) {
            double* estimates = all_estimates + static_cast<std::ptrdiff_t>(t) * MAX_LANE_PROTOTYPES + at;
            (keep * L::load(estimates) + (r * L::broadcast(gram[t * SCREEN_AHEAD]) - own)).store(estimates);
        }
        ((one - r * r) * L::load(reach + at) + r * (two - r) * x).store(reach + at);
        (keep * L::load(drift + at) + r * length + rounding).store(drift + at);
    }
}

// Each prototype p with bit p of `moving` set is to move every value v to
// v + rates[p] * (x - v) toward the datavector x whose winner was found
// last; the screen of the batch follows at once, the rows when they settle.
template <class L, class F>
void move_rows(PrototypeRowsView& rows, const double* rates, std::uint64_t moving) noexcept {
    const std::int32_t s = rows.next - 1;
    for (std::int32_t g = 0; g * 8 < rows.nprotos; ++g)
        rows.moved[g][s] = static_cast<unsigned char>(moving >> (8 * g));
    rows.recorded = s + 1;
    double* kept = rows.rates + static_cast<std::ptrdiff_t>(s) * MAX_LANE_PROTOTYPES;
    for (std::int32_t first = 0; first < rows.padded; first += WIDTH) {
        const std::int32_t left = rows.nprotos - first;
        const L given = left >= WIDTH ? L::load(rates + first) : L::load_first(rates + first, left);
        L::select(static_cast<unsigned>(moving >> first) & 0xffu, given, L::zero()).store(kept + first);
    }
    // The last of a batch leaves nothing to follow: the next batch starts anew.
    if (rows.screened && rows.next < rows.count) follow_moves<L>(rows, moving);
}

}  // namespace veltra::core::lanes
