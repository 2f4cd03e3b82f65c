// Built with -mavx512f -mavx512vnni. (The masked forms of some intrinsics
// below avoid false uninitialized warnings of GCC 12.)
#include <immintrin.h>

#include "core/kernels/grid_kernel.h"

namespace veltra::core::grid {

namespace {

// Prototypes whose sums a block keeps in registers at once.
constexpr int CHUNK = 12;

// The smallest, over prototypes 0..P-1 of `grid`'s from `first`, of the
// squared grid distance less the datavector's norm: each lane starts at the
// prototype's norm and adds minus twice the dot product. The 32-bit sums wrap,
// but the result, a squared distance less a norm, lies within their range.
template <int P>
__m512i chunk_minimum(const std::int32_t* block, const GridView& grid, std::int32_t first,
                      __m512i m) noexcept {
    __m512i sums[P];
    const std::int32_t* pairs = grid.prototype_pairs + static_cast<std::ptrdiff_t>(first) * grid.npairs;
    for (int p = 0; p < P; ++p) sums[p] = _mm512_set1_epi32(grid.prototype_norms[first + p]);
    for (std::int32_t k = 0; k < grid.npairs; ++k) {
        const __m512i x = _mm512_load_si512(block + static_cast<std::ptrdiff_t>(k) * 16);
        for (int p = 0; p < P; ++p)
            sums[p] = _mm512_dpwssd_epi32(sums[p], x, _mm512_set1_epi32(pairs[p * grid.npairs + k]));
    }
    for (int p = 0; p < P; ++p) m = _mm512_maskz_min_epi32(0xffff, m, sums[p]);
    return m;
}

}  // namespace

bool kernel_supported() noexcept {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vnni");
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
    const __m512d step_down = _mm512_set1_pd(grid.scale * (1.0 - 4.0 * u));
    const __m512d up = _mm512_set1_pd(1.0 + 4.0 * u);
    const __m512d prototype_residual = _mm512_set1_pd(grid.prototype_residual);
    __m512d sum = _mm512_setzero_pd();
    for (std::int32_t b = first; b < end; ++b) {
        const std::int32_t* block = grid.pairs + static_cast<std::ptrdiff_t>(b) * grid.npairs * 16;
        __m512i m = _mm512_set1_epi32(0x7fffffff);
        std::int32_t p = 0;
        for (; p + CHUNK <= grid.nprotos; p += CHUNK) m = chunk_minimum<CHUNK>(block, grid, p, m);
        for (; p + 4 <= grid.nprotos; p += 4) m = chunk_minimum<4>(block, grid, p, m);
        for (; p < grid.nprotos; ++p) m = chunk_minimum<1>(block, grid, p, m);
        const __m512i distances = _mm512_add_epi32(m, _mm512_load_si512(grid.norms + b * 16));
        for (int half = 0; half < 2; ++half) {
            const __m256i d = half == 0 ? _mm512_maskz_extracti64x4_epi64(0xf, distances, 0)
                                        : _mm512_maskz_extracti64x4_epi64(0xf, distances, 1);
            const __m512d apart =
                _mm512_mul_pd(_mm512_maskz_sqrt_pd(0xff, _mm512_maskz_cvtepi32_pd(0xff, d)), step_down);
            const __m512d residuals = _mm512_mul_pd(
                _mm512_add_pd(_mm512_load_pd(grid.residuals + b * 16 + half * 8), prototype_residual), up);
            // max returns its second operand, 0, where the first is NaN.
            const __m512d t = _mm512_maskz_max_pd(0xff, _mm512_sub_pd(apart, residuals), _mm512_setzero_pd());
            sum = _mm512_add_pd(sum, _mm512_mul_pd(t, t));
        }
    }
    const __m256d quarter =
        _mm256_add_pd(_mm512_maskz_extractf64x4_pd(0xf, sum, 0), _mm512_maskz_extractf64x4_pd(0xf, sum, 1));
    const __m128d eighth = _mm_add_pd(_mm256_castpd256_pd128(quarter), _mm256_extractf128_pd(quarter, 1));
    return _mm_cvtsd_f64(_mm_add_sd(eighth, _mm_unpackhi_pd(eighth, eighth)));
}

}  // namespace veltra::core::grid
