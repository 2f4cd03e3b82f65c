// Built with -mavx512f -mavx512vnni. (The masked forms of some intrinsics
// below avoid false uninitialized warnings of GCC 12.)
#include <immintrin.h>

#include "core/kernels/grid_kernel.h"

namespace veltra::core::grid {

namespace {

// Prototypes whose sums a block keeps in registers at once.
constexpr int CHUNK = 12;

// The smallest, over the P prototypes from `first`, of the squared grid
// distance less the datavector's norm: each lane starts at the prototype's
// norm and adds minus twice the dot product. The 32-bit sums wrap, but the
// result, a squared distance less a norm, lies within their range.
template <int P>
__m512i chunk_minimum(const std::int32_t* block, const GridView& grid, std::int32_t first,
                      __m512i m) noexcept {
    const std::int32_t* prototype[P];
    for (int p = 0; p < P; ++p) {
        const std::int32_t q = first + p;
        prototype[p] =
            grid.prototype_pairs + static_cast<std::ptrdiff_t>(q / LANES) * grid.npairs * LANES + q % LANES;
    }
    __m512i sums[P];
    for (int p = 0; p < P; ++p) sums[p] = _mm512_set1_epi32(grid.prototype_norms[first + p]);
    for (std::int32_t k = 0; k < grid.npairs; ++k) {
        const __m512i x = _mm512_load_si512(block + static_cast<std::ptrdiff_t>(k) * LANES);
        for (int p = 0; p < P; ++p)
            sums[p] = _mm512_dpwssd_epi32(sums[p], x, _mm512_set1_epi32(prototype[p][k * LANES]));
    }
    for (int p = 0; p < P; ++p) m = _mm512_maskz_min_epi32(0xffff, m, sums[p]);
    return m;
}

double sum_of(__m512d v) noexcept {
    const __m256d quarter =
        _mm256_add_pd(_mm512_maskz_extractf64x4_pd(0xf, v, 0), _mm512_maskz_extractf64x4_pd(0xf, v, 1));
    const __m128d eighth = _mm_add_pd(_mm256_castpd256_pd128(quarter), _mm256_extractf128_pd(quarter, 1));
    return _mm_cvtsd_f64(_mm_add_sd(eighth, _mm_unpackhi_pd(eighth, eighth)));
}

std::int32_t sum_of(__m512i v) noexcept {
    alignas(64) std::int32_t lanes[LANES];
    _mm512_store_si512(lanes, v);
    std::int32_t sum = 0;
    for (const std::int32_t lane : lanes) sum += lane;
    return sum;
}

__m256i low_half(__m512i v) noexcept { return _mm512_maskz_extracti64x4_epi64(0xf, v, 0); }
__m256i high_half(__m512i v) noexcept { return _mm512_maskz_extracti64x4_epi64(0xf, v, 1); }

// The grid values of eight values x of one row, of variables with offsets
// `offset`, as 32-bit integers; their residuals are added to `squares`.
__m256i round_lanes(__m512d x, __m512d inverse, __m512d step, __m512d offset, __m512d top,
                    __m512d& squares) noexcept {
    // max returns its second operand, 0, where the first is NaN.
    const __m512d y = _mm512_maskz_min_pd(
        0xff,
        _mm512_maskz_max_pd(0xff, _mm512_sub_pd(_mm512_mul_pd(x, inverse), offset), _mm512_setzero_pd()),
        top);
    const __m512d q = _mm512_maskz_roundscale_pd(0xff, y, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m512d r = _mm512_sub_pd(x, _mm512_mul_pd(step, _mm512_add_pd(offset, q)));
    squares = _mm512_add_pd(squares, _mm512_mul_pd(r, r));
    return _mm512_maskz_cvtpd_epi32(0xff, q);
}

// Eight rows' words of eight pairs, two rows a vector (rows l and l + 8),
// turned so that vector j holds pair j of all sixteen rows: the eight-by-eight
// turn of each half, by unpacking pairs of words, then pairs of pairs, then
// joining quarters.
void turn(__m512i* v) noexcept {
    __m512i t[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm512_maskz_unpacklo_epi32(0xffff, v[i], v[i + 1]);
        t[i + 1] = _mm512_maskz_unpackhi_epi32(0xffff, v[i], v[i + 1]);
    }
    __m512i u[8];
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm512_maskz_unpacklo_epi64(0xff, t[i], t[i + 2]);
        u[i + 1] = _mm512_maskz_unpackhi_epi64(0xff, t[i], t[i + 2]);
        u[i + 2] = _mm512_maskz_unpacklo_epi64(0xff, t[i + 1], t[i + 3]);
        u[i + 3] = _mm512_maskz_unpackhi_epi64(0xff, t[i + 1], t[i + 3]);
    }
    const __m512i first_quarters = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0);
    const __m512i second_quarters = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
    for (int j = 0; j < 4; ++j) {
        v[j] = _mm512_permutex2var_epi64(u[j], first_quarters, u[j + 4]);
        v[j + 4] = _mm512_permutex2var_epi64(u[j], second_quarters, u[j + 4]);
    }
}

}  // namespace

bool kernel_supported() noexcept {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vnni");
}

// Row by row, a span of variables at a time, sixteen values a step, each step
// fetching the same two lines of the next block's row from memory; the span's
// pairs wait in `tile` and are then turned side by side. The residuals are
// summed in any order, and their norm is made larger than every rounding and
// underflow of that sum can have made it smaller.
void round_block(const GridFrame& frame, const double* const* rows, std::int32_t count,
                 std::int32_t following, std::int32_t factor, std::int32_t* pairs, std::int32_t* norms,
                 double* residuals) noexcept {
    constexpr std::int32_t SPAN = 256;
    const __m512d inverse = _mm512_set1_pd(1.0 / frame.step);
    const __m512d step = _mm512_set1_pd(frame.step);
    const __m512d top = _mm512_set1_pd(frame.top);
    const __m512i times = _mm512_set1_epi32(factor);
    const std::int32_t nvars = frame.nvars;
    const double* offsets = frame.offsets;
    alignas(64) std::int32_t tile[LANES][SPAN / 2];
    __m512d squares[LANES];
    __m512i sums[LANES];
    for (std::int32_t l = 0; l < LANES; ++l) {
        squares[l] = _mm512_setzero_pd();
        sums[l] = _mm512_setzero_si512();
    }
    for (std::int32_t k0 = 0; k0 < nvars; k0 += SPAN) {
        const std::int32_t span = nvars - k0 < SPAN ? nvars - k0 : SPAN;
        for (std::int32_t l = 0; l < LANES; ++l) {
            if (l >= count) {
                for (std::int32_t j = 0; j < SPAN / 2; ++j) tile[l][j] = 0;
                continue;
            }
            const double* row = rows[l] + k0;
            const double* next = l < following ? rows[LANES + l] + k0 : nullptr;
            __m512d row_squares = squares[l];
            __m512i row_sum = sums[l];
            for (std::int32_t k = 0; k < span; k += 16) {
                // Lanes past the variables round 0 with offset 0: grid value
                // 0, residual 0.
                const std::int32_t left = span - k;
                if (next) {
                    _mm_prefetch(reinterpret_cast<const char*>(next + k), _MM_HINT_T0);
                    if (left > 8) _mm_prefetch(reinterpret_cast<const char*>(next + k + 8), _MM_HINT_T0);
                }
                const auto first = static_cast<__mmask8>(left >= 8 ? 0xff : (1u << left) - 1u);
                const auto second = static_cast<__mmask8>(left >= 16  ? 0xff
                                                          : left <= 8 ? 0
                                                                      : (1u << (left - 8)) - 1u);
                const __m256i low =
                    round_lanes(_mm512_maskz_loadu_pd(first, row + k), inverse, step,
                                _mm512_maskz_loadu_pd(first, offsets + k0 + k), top, row_squares);
                const __m256i high =
                    round_lanes(_mm512_maskz_loadu_pd(second, row + k + 8), inverse, step,
                                _mm512_maskz_loadu_pd(second, offsets + k0 + k + 8), top, row_squares);
                const __m512i q = _mm512_maskz_inserti64x4(0xff, _mm512_castsi256_si512(low), high, 1);
                row_sum = _mm512_add_epi32(row_sum, _mm512_mullo_epi32(q, q));
                // Sixteen 16-bit values make eight pairs.
                _mm256_store_si256(reinterpret_cast<__m256i*>(&tile[l][k / 2]),
                                   _mm512_maskz_cvtepi32_epi16(0xffff, _mm512_mullo_epi32(q, times)));
            }
            squares[l] = row_squares;
            sums[l] = row_sum;
        }
        const std::int32_t span_pairs = (span + 1) / 2;
        for (std::int32_t j = 0; j < span_pairs; j += 8) {
            __m512i v[8];
            for (std::int32_t l = 0; l < 8; ++l) {
                v[l] = _mm512_maskz_inserti64x4(
                    0xff,
                    _mm512_castsi256_si512(_mm256_load_si256(reinterpret_cast<const __m256i*>(&tile[l][j]))),
                    _mm256_load_si256(reinterpret_cast<const __m256i*>(&tile[l + 8][j])), 1);
            }
            turn(v);
            std::int32_t* to = pairs + static_cast<std::ptrdiff_t>(k0 / 2 + j) * LANES;
            for (std::int32_t i = 0; i < 8; ++i) {
                if (i < span_pairs - j) _mm512_store_si512(to + i * LANES, v[i]);
            }
        }
    }
    const double grow = 1.0 + (nvars + 8.0) * 0x1p-52;
    for (std::int32_t l = 0; l < LANES; ++l) {
        norms[l] = l < count ? sum_of(sums[l]) : 0;
        residuals[l] = l < count ? __builtin_sqrt(sum_of(squares[l])) * grow + 0x1p-500 : __builtin_inf();
    }
}

// For each datavector x, with D the smallest squared grid distance to a
// prototype, the step s and the residual bounds e: the grid points lie
// s * sqrt(D) apart at least, so by the triangle inequality x lies at least
// s * sqrt(D) - e(x) - e(prototypes) from every prototype. The square root is
// made smaller and the residuals larger by more than their rounding, so that
// the rounded difference is at most that bound times (1 + 2^-53); its square
// goes to the sum when it is positive.
double bound_sum(const GridView& grid, std::int32_t first, std::int32_t end) noexcept {
    constexpr double u = 0x1p-53;
    const __m512d step_down = _mm512_set1_pd(grid.step * (1.0 - 4.0 * u));
    const __m512d up = _mm512_set1_pd(1.0 + 4.0 * u);
    const __m512d prototype_residual = _mm512_set1_pd(grid.prototype_residual);
    __m512d sum = _mm512_setzero_pd();
    for (std::int32_t b = first; b < end; ++b) {
        const std::int32_t* block = grid.pairs + static_cast<std::ptrdiff_t>(b) * grid.npairs * LANES;
        __m512i m = _mm512_set1_epi32(0x7fffffff);
        std::int32_t p = 0;
        for (; p + CHUNK <= grid.nprotos; p += CHUNK) m = chunk_minimum<CHUNK>(block, grid, p, m);
        for (; p + 4 <= grid.nprotos; p += 4) m = chunk_minimum<4>(block, grid, p, m);
        for (; p < grid.nprotos; ++p) m = chunk_minimum<1>(block, grid, p, m);
        const __m512i distances = _mm512_add_epi32(m, _mm512_load_si512(grid.norms + b * LANES));
        for (int half = 0; half < 2; ++half) {
            const __m512d apart = _mm512_mul_pd(
                _mm512_maskz_sqrt_pd(0xff, _mm512_maskz_cvtepi32_pd(
                                               0xff, half == 0 ? low_half(distances) : high_half(distances))),
                step_down);
            const __m512d residuals = _mm512_mul_pd(
                _mm512_add_pd(_mm512_load_pd(grid.residuals + b * LANES + half * 8), prototype_residual), up);
            // max returns its second operand, 0, where the first is NaN.
            const __m512d t = _mm512_maskz_max_pd(0xff, _mm512_sub_pd(apart, residuals), _mm512_setzero_pd());
            sum = _mm512_add_pd(sum, _mm512_mul_pd(t, t));
        }
    }
    return sum_of(sum);
}

}  // namespace veltra::core::grid
