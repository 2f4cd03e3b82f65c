// Built with -mavx512f -mfma. -ffp-contract=off keeps fused multiply-adds out of the
// arithmetic whose bits count; only the screen's multiply_add fuses, and
// multiplier_difference, whose product by 1 is exact.
#include <immintrin.h>

#include "core/kernels/half_lanes_256.h"
#include "core/kernels/lane_kernels.h"

namespace veltra::core::lanes {

namespace {

// Lanes 4..7. (The masked forms here and below avoid false uninitialized
// warnings of GCC 12.)
__m256d high_half(__m512d v) noexcept { return _mm512_maskz_extractf64x4_pd(0xf, v, 1); }

struct Lanes {
    __m512d v;

    using Half = HalfLanes;

    // Independent chains of sums that keep the multiply-adders busy.
    static constexpr int CHAINS = 4;

    static Lanes zero() noexcept { return {_mm512_setzero_pd()}; }
    static Lanes load(const double* p) noexcept { return {_mm512_loadu_pd(p)}; }
    // Lanes 0..count-1 from p, the others 0; nothing past them is read.
    static Lanes load_first(const double* p, int count) noexcept {
        return {_mm512_maskz_loadu_pd(static_cast<__mmask8>((1u << count) - 1u), p)};
    }
    static Lanes broadcast(double a) noexcept { return {_mm512_set1_pd(a)}; }
    // p[0..7], floats, as doubles.
    static Lanes load_floats(const float* p) noexcept {
        return {_mm512_maskz_cvtps_pd(0xff, _mm256_loadu_ps(p))};
    }
    // Lanes 0..3 from h, the others 0.
    static Lanes from_half(HalfLanes h) noexcept { return {_mm512_maskz_broadcast_f64x4(0xf, h.v)}; }
    void store(double* p) const noexcept { _mm512_storeu_pd(p, v); }
    // Bit j set when lane j of a is at most lane j of b (false with NaN).
    static unsigned less_equal(Lanes a, Lanes b) noexcept { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_LE_OQ); }
    // Bit j set when lane j of a equals lane j of b (false with NaN).
    static unsigned equal(Lanes a, Lanes b) noexcept { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_EQ_OQ); }
    // The smaller of each pair of lanes; for lanes without NaN.
    static Lanes min(Lanes a, Lanes b) noexcept { return {_mm512_maskz_min_pd(0xff, a.v, b.v)}; }
    // Lane j from a where bit j of mask is set, else from b.
    static Lanes select(unsigned mask, Lanes a, Lanes b) noexcept {
        return {_mm512_mask_blend_pd(static_cast<__mmask8>(mask), b.v, a.v)};
    }
    friend Lanes operator+(Lanes a, Lanes b) noexcept { return {_mm512_add_pd(a.v, b.v)}; }
    friend Lanes operator-(Lanes a, Lanes b) noexcept { return {_mm512_sub_pd(a.v, b.v)}; }
    friend Lanes operator*(Lanes a, Lanes b) noexcept { return {_mm512_mul_pd(a.v, b.v)}; }
    static Lanes sqrt(Lanes a) noexcept { return {_mm512_maskz_sqrt_pd(0xff, a.v)}; }
    // a - b as operator- rounds it, computed by the multiply-adders (a * 1 - b,
    // rounded once) so that the adders are free for other work; when both
    // are NaN, the NaN may be either.
    static Lanes multiplier_difference(Lanes a, Lanes b) noexcept {
        return {_mm512_fmsub_pd(a.v, _mm512_set1_pd(1.0), b.v)};
    }
    // a * b + c, rounded once; for the screen only.
    static Lanes multiply_add(Lanes a, Lanes b, Lanes c) noexcept { return {_mm512_fmadd_pd(a.v, b.v, c.v)}; }
    static double smallest(Lanes a) noexcept {
        const __m256d four = _mm256_min_pd(_mm512_maskz_extractf64x4_pd(0xf, a.v, 0), high_half(a.v));
        const __m128d two = _mm_min_pd(_mm256_castpd256_pd128(four), _mm256_extractf128_pd(four, 1));
        return _mm_cvtsd_f64(_mm_min_sd(two, _mm_unpackhi_pd(two, two)));
    }
    static double sum(Lanes a) noexcept {
        const __m256d four = _mm256_add_pd(_mm512_maskz_extractf64x4_pd(0xf, a.v, 0), high_half(a.v));
        const __m128d two = _mm_add_pd(_mm256_castpd256_pd128(four), _mm256_extractf128_pd(four, 1));
        return _mm_cvtsd_f64(_mm_add_sd(two, _mm_unpackhi_pd(two, two)));
    }
    // The lanes rounded to float, at p[0..7].
    void store_as_floats(float* p) const noexcept { _mm256_storeu_ps(p, _mm512_maskz_cvtpd_ps(0xff, v)); }
};

// Sixteen floats, for the single-precision screen.
struct FloatLanes {
    __m512 v;

    // Independent chains of sums that keep the multiply-adders busy.
    static constexpr int CHAINS = 4;

    // Lanes v * 16 / T .. (v + 1) * 16 / T - 1 hold a[v], v < T.
    template <int T>
    static FloatLanes spread(const float* a) noexcept {
        static_assert(T == 2 || T == 4);
        const __m512i lanes = T == 2 ? _mm512_set_epi32(1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0)
                                     : _mm512_set_epi32(3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0);
        return {_mm512_maskz_permutexvar_ps(0xffff, lanes, _mm512_maskz_loadu_ps((1u << T) - 1u, a))};
    }
    // Lane p := the sum of lanes p + v * 16 / T, v < T, for p < 16 / T; the
    // others 0.
    template <int T>
    static FloatLanes fold(FloatLanes a) noexcept {
        static_assert(T == 2 || T == 4);
        const __m512d d = _mm512_castps_pd(a.v);
        const __m256 eight = _mm256_add_ps(_mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0xf, d, 0)),
                                           _mm256_castpd_ps(high_half(d)));
        if constexpr (T == 2)
            return {_mm512_castpd_ps(_mm512_maskz_broadcast_f64x4(0xf, _mm256_castps_pd(eight)))};
        const __m128 four = _mm_add_ps(_mm256_castps256_ps128(eight), _mm256_extractf128_ps(eight, 1));
        return {_mm512_maskz_broadcast_f32x4(0xf, four)};
    }

    // The lanes of lo, then those of hi, rounded to float as
    // Lanes::store_as_floats rounds them.
    static FloatLanes from_doubles(Lanes lo, Lanes hi) noexcept {
        const __m256d low = _mm256_castps_pd(_mm512_maskz_cvtpd_ps(0xff, lo.v));
        const __m256d high = _mm256_castps_pd(_mm512_maskz_cvtpd_ps(0xff, hi.v));
        return {_mm512_castpd_ps(
            _mm512_mask_broadcast_f64x4(_mm512_maskz_broadcast_f64x4(0xf, low), 0xf0, high))};
    }

    static FloatLanes zero() noexcept { return {_mm512_setzero_ps()}; }
    static FloatLanes load(const float* p) noexcept { return {_mm512_loadu_ps(p)}; }
    static FloatLanes broadcast(float a) noexcept { return {_mm512_set1_ps(a)}; }
    void store(float* p) const noexcept { _mm512_storeu_ps(p, v); }
    static unsigned less_equal(FloatLanes a, FloatLanes b) noexcept {
        return _mm512_cmp_ps_mask(a.v, b.v, _CMP_LE_OQ);
    }
    static FloatLanes min(FloatLanes a, FloatLanes b) noexcept {
        return {_mm512_maskz_min_ps(0xffff, a.v, b.v)};
    }
    static FloatLanes select(unsigned mask, FloatLanes a, FloatLanes b) noexcept {
        return {_mm512_mask_blend_ps(static_cast<__mmask16>(mask), b.v, a.v)};
    }
    friend FloatLanes operator+(FloatLanes a, FloatLanes b) noexcept { return {_mm512_add_ps(a.v, b.v)}; }
    friend FloatLanes operator-(FloatLanes a, FloatLanes b) noexcept { return {_mm512_sub_ps(a.v, b.v)}; }
    friend FloatLanes operator*(FloatLanes a, FloatLanes b) noexcept { return {_mm512_mul_ps(a.v, b.v)}; }
    static FloatLanes multiply_add(FloatLanes a, FloatLanes b, FloatLanes c) noexcept {
        return {_mm512_fmadd_ps(a.v, b.v, c.v)};
    }
    // Lane j := the sum of the lanes of s[j], j < 16, in an order of the
    // instruction set's choosing: the horizontal sums of sixteen vectors at
    // the cost of three.
    static FloatLanes lane_sums(const FloatLanes* s) noexcept {
        __m512 pairs[8];
        for (int m = 0; m < 8; ++m) {
            const __m512 a = s[2 * m].v;
            const __m512 b = s[2 * m + 1].v;
            pairs[m] =
                _mm512_add_ps(_mm512_maskz_unpacklo_ps(0xffff, a, b), _mm512_maskz_unpackhi_ps(0xffff, a, b));
        }
        __m512 quads[4];
        for (int q = 0; q < 4; ++q) {
            const __m512 a = pairs[2 * q];
            const __m512 b = pairs[2 * q + 1];
            quads[q] = _mm512_add_ps(_mm512_maskz_shuffle_ps(0xffff, a, b, _MM_SHUFFLE(1, 0, 1, 0)),
                                     _mm512_maskz_shuffle_ps(0xffff, a, b, _MM_SHUFFLE(3, 2, 3, 2)));
        }
        const auto halve = [](__m512 a, __m512 b) {
            return _mm512_add_ps(_mm512_maskz_shuffle_f32x4(0xffff, a, b, _MM_SHUFFLE(2, 0, 2, 0)),
                                 _mm512_maskz_shuffle_f32x4(0xffff, a, b, _MM_SHUFFLE(3, 1, 3, 1)));
        };
        return {halve(halve(quads[0], quads[1]), halve(quads[2], quads[3]))};
    }
    // The smallest lane; for lanes without NaN.
    static float smallest(FloatLanes a) noexcept {
        const __m512d d = _mm512_castps_pd(a.v);
        const __m256 eight = _mm256_min_ps(_mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0xf, d, 0)),
                                           _mm256_castpd_ps(high_half(d)));
        const __m128 four = _mm_min_ps(_mm256_castps256_ps128(eight), _mm256_extractf128_ps(eight, 1));
        const __m128 two = _mm_min_ps(four, _mm_movehl_ps(four, four));
        return _mm_cvtss_f32(_mm_min_ss(two, _mm_shuffle_ps(two, two, 1)));
    }
    // The sum of the lanes, in an order of the instruction set's choosing.
    static float sum(FloatLanes a) noexcept {
        const __m512d d = _mm512_castps_pd(a.v);
        const __m256 eight = _mm256_add_ps(_mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0xf, d, 0)),
                                           _mm256_castpd_ps(high_half(d)));
        const __m128 four = _mm_add_ps(_mm256_castps256_ps128(eight), _mm256_extractf128_ps(eight, 1));
        const __m128 two = _mm_add_ps(four, _mm_movehl_ps(four, four));
        return _mm_cvtss_f32(_mm_add_ss(two, _mm_shuffle_ps(two, two, 1)));
    }
};

}  // namespace

const LaneKernels AVX512_KERNELS = lane_kernels<Lanes, FloatLanes>();

}  // namespace veltra::core::lanes
