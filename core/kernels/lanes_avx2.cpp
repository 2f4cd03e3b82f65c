// Built with -mavx2 -mfma. -ffp-contract=off keeps fused multiply-adds out of
// the arithmetic whose bits count; only the screen's multiply_add fuses, and
// multiplier_difference, whose product by 1 is exact.
#include <immintrin.h>

#include "core/kernels/half_lanes_256.h"
#include "core/kernels/lane_kernels.h"

namespace veltra::core::lanes {

namespace {

// All ones in lane j where bit j of `bits` is set, for j < 4.
__m256d mask_of(unsigned bits) noexcept {
    const auto lane = [bits](unsigned j) { return -static_cast<long long>((bits >> j) & 1u); };
    return _mm256_castsi256_pd(_mm256_set_epi64x(lane(3), lane(2), lane(1), lane(0)));
}

// Lane j all ones where bit j of `bits` is set, for j < 8.
__m256 float_mask_of(unsigned bits) noexcept {
    const __m256i lane_bits = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    const __m256i selected = _mm256_and_si256(_mm256_set1_epi32(static_cast<int>(bits)), lane_bits);
    return _mm256_castsi256_ps(_mm256_cmpeq_epi32(selected, lane_bits));
}

struct Lanes {
    __m256d lo;
    __m256d hi;

    using Half = HalfLanes;

    // Independent chains of sums that keep the multiply-adders busy.
    static constexpr int CHAINS = 1;

    static Lanes zero() noexcept { return {_mm256_setzero_pd(), _mm256_setzero_pd()}; }
    static Lanes load(const double* p) noexcept { return {_mm256_loadu_pd(p), _mm256_loadu_pd(p + 4)}; }
    // Lanes 0..count-1 from p, the others 0; nothing past them is read.
    static Lanes load_first(const double* p, int count) noexcept {
        const unsigned bits = (1u << count) - 1u;
        return {_mm256_maskload_pd(p, _mm256_castpd_si256(mask_of(bits))),
                _mm256_maskload_pd(p + 4, _mm256_castpd_si256(mask_of(bits >> 4)))};
    }
    static Lanes broadcast(double a) noexcept { return {_mm256_set1_pd(a), _mm256_set1_pd(a)}; }
    // p[0..7], floats, as doubles.
    static Lanes load_floats(const float* p) noexcept {
        return {_mm256_cvtps_pd(_mm_loadu_ps(p)), _mm256_cvtps_pd(_mm_loadu_ps(p + 4))};
    }
    // Lanes 0..3 from h, the others 0.
    static Lanes from_half(HalfLanes h) noexcept { return {h.v, _mm256_setzero_pd()}; }
    void store(double* p) const noexcept {
        _mm256_storeu_pd(p, lo);
        _mm256_storeu_pd(p + 4, hi);
    }
    // Bit j set when lane j of a is at most lane j of b (false with NaN).
    static unsigned less_equal(Lanes a, Lanes b) noexcept {
        const int low = _mm256_movemask_pd(_mm256_cmp_pd(a.lo, b.lo, _CMP_LE_OQ));
        const int high = _mm256_movemask_pd(_mm256_cmp_pd(a.hi, b.hi, _CMP_LE_OQ));
        return static_cast<unsigned>(low) | (static_cast<unsigned>(high) << 4);
    }
    // Bit j set when lane j of a equals lane j of b (false with NaN).
    static unsigned equal(Lanes a, Lanes b) noexcept {
        const int low = _mm256_movemask_pd(_mm256_cmp_pd(a.lo, b.lo, _CMP_EQ_OQ));
        const int high = _mm256_movemask_pd(_mm256_cmp_pd(a.hi, b.hi, _CMP_EQ_OQ));
        return static_cast<unsigned>(low) | (static_cast<unsigned>(high) << 4);
    }
    // The smaller of each pair of lanes; for lanes without NaN.
    static Lanes min(Lanes a, Lanes b) noexcept {
        return {_mm256_min_pd(a.lo, b.lo), _mm256_min_pd(a.hi, b.hi)};
    }
    // Lane j from a where bit j of mask is set, else from b.
    static Lanes select(unsigned mask, Lanes a, Lanes b) noexcept {
        return {_mm256_blendv_pd(b.lo, a.lo, mask_of(mask)),
                _mm256_blendv_pd(b.hi, a.hi, mask_of(mask >> 4))};
    }
    friend Lanes operator+(Lanes a, Lanes b) noexcept {
        return {_mm256_add_pd(a.lo, b.lo), _mm256_add_pd(a.hi, b.hi)};
    }
    friend Lanes operator-(Lanes a, Lanes b) noexcept {
        return {_mm256_sub_pd(a.lo, b.lo), _mm256_sub_pd(a.hi, b.hi)};
    }
    friend Lanes operator*(Lanes a, Lanes b) noexcept {
        return {_mm256_mul_pd(a.lo, b.lo), _mm256_mul_pd(a.hi, b.hi)};
    }
    static Lanes sqrt(Lanes a) noexcept { return {_mm256_sqrt_pd(a.lo), _mm256_sqrt_pd(a.hi)}; }
    // a - b as operator- rounds it, computed by the multiply-adders (a * 1 - b,
    // rounded once) so that the adders are free for other work; when both
    // are NaN, the NaN may be either.
    static Lanes multiplier_difference(Lanes a, Lanes b) noexcept {
        const __m256d one = _mm256_set1_pd(1.0);
        return {_mm256_fmsub_pd(a.lo, one, b.lo), _mm256_fmsub_pd(a.hi, one, b.hi)};
    }
    // a * b + c, rounded once; for the screen only.
    static Lanes multiply_add(Lanes a, Lanes b, Lanes c) noexcept {
        return {_mm256_fmadd_pd(a.lo, b.lo, c.lo), _mm256_fmadd_pd(a.hi, b.hi, c.hi)};
    }
    static double smallest(Lanes a) noexcept {
        const __m256d four = _mm256_min_pd(a.lo, a.hi);
        const __m128d two = _mm_min_pd(_mm256_castpd256_pd128(four), _mm256_extractf128_pd(four, 1));
        return _mm_cvtsd_f64(_mm_min_sd(two, _mm_unpackhi_pd(two, two)));
    }
    static double sum(Lanes a) noexcept {
        const __m256d four = _mm256_add_pd(a.lo, a.hi);
        const __m128d two = _mm_add_pd(_mm256_castpd256_pd128(four), _mm256_extractf128_pd(four, 1));
        return _mm_cvtsd_f64(_mm_add_sd(two, _mm_unpackhi_pd(two, two)));
    }
    // The lanes rounded to float, at p[0..7].
    void store_as_floats(float* p) const noexcept {
        _mm_storeu_ps(p, _mm256_cvtpd_ps(lo));
        _mm_storeu_ps(p + 4, _mm256_cvtpd_ps(hi));
    }
};

// Sixteen floats, for the single-precision screen.
struct FloatLanes {
    __m256 lo;
    __m256 hi;

    // Independent chains of sums that keep the multiply-adders busy.
    static constexpr int CHAINS = 2;

    // Lanes v * 16 / T .. (v + 1) * 16 / T - 1 hold a[v], v < T.
    template <int T>
    static FloatLanes spread(const float* a) noexcept {
        static_assert(T == 2 || T == 4);
        if constexpr (T == 2) return {_mm256_broadcast_ss(a), _mm256_broadcast_ss(a + 1)};
        return {_mm256_set_m128(_mm_set1_ps(a[1]), _mm_set1_ps(a[0])),
                _mm256_set_m128(_mm_set1_ps(a[3]), _mm_set1_ps(a[2]))};
    }
    // Lane p := the sum of lanes p + v * 16 / T, v < T, for p < 16 / T; the
    // others 0.
    template <int T>
    static FloatLanes fold(FloatLanes a) noexcept {
        static_assert(T == 2 || T == 4);
        const __m256 eight = _mm256_add_ps(a.lo, a.hi);
        if constexpr (T == 2) return {eight, _mm256_setzero_ps()};
        const __m128 four = _mm_add_ps(_mm256_castps256_ps128(eight), _mm256_extractf128_ps(eight, 1));
        return {_mm256_set_m128(_mm_setzero_ps(), four), _mm256_setzero_ps()};
    }

    // The lanes of lo, then those of hi, rounded to float as
    // Lanes::store_as_floats rounds them.
    static FloatLanes from_doubles(Lanes lo, Lanes hi) noexcept {
        return {_mm256_set_m128(_mm256_cvtpd_ps(lo.hi), _mm256_cvtpd_ps(lo.lo)),
                _mm256_set_m128(_mm256_cvtpd_ps(hi.hi), _mm256_cvtpd_ps(hi.lo))};
    }

    static FloatLanes zero() noexcept { return {_mm256_setzero_ps(), _mm256_setzero_ps()}; }
    static FloatLanes load(const float* p) noexcept { return {_mm256_loadu_ps(p), _mm256_loadu_ps(p + 8)}; }
    static FloatLanes broadcast(float a) noexcept { return {_mm256_set1_ps(a), _mm256_set1_ps(a)}; }
    void store(float* p) const noexcept {
        _mm256_storeu_ps(p, lo);
        _mm256_storeu_ps(p + 8, hi);
    }
    static unsigned less_equal(FloatLanes a, FloatLanes b) noexcept {
        const int low = _mm256_movemask_ps(_mm256_cmp_ps(a.lo, b.lo, _CMP_LE_OQ));
        const int high = _mm256_movemask_ps(_mm256_cmp_ps(a.hi, b.hi, _CMP_LE_OQ));
        return static_cast<unsigned>(low) | (static_cast<unsigned>(high) << 8);
    }
    static FloatLanes min(FloatLanes a, FloatLanes b) noexcept {
        return {_mm256_min_ps(a.lo, b.lo), _mm256_min_ps(a.hi, b.hi)};
    }
    static FloatLanes select(unsigned mask, FloatLanes a, FloatLanes b) noexcept {
        return {_mm256_blendv_ps(b.lo, a.lo, float_mask_of(mask)),
                _mm256_blendv_ps(b.hi, a.hi, float_mask_of(mask >> 8))};
    }
    friend FloatLanes operator+(FloatLanes a, FloatLanes b) noexcept {
        return {_mm256_add_ps(a.lo, b.lo), _mm256_add_ps(a.hi, b.hi)};
    }
    friend FloatLanes operator-(FloatLanes a, FloatLanes b) noexcept {
        return {_mm256_sub_ps(a.lo, b.lo), _mm256_sub_ps(a.hi, b.hi)};
    }
    friend FloatLanes operator*(FloatLanes a, FloatLanes b) noexcept {
        return {_mm256_mul_ps(a.lo, b.lo), _mm256_mul_ps(a.hi, b.hi)};
    }
    static FloatLanes multiply_add(FloatLanes a, FloatLanes b, FloatLanes c) noexcept {
        return {_mm256_fmadd_ps(a.lo, b.lo, c.lo), _mm256_fmadd_ps(a.hi, b.hi, c.hi)};
    }
    // The smallest lane; for lanes without NaN.
    static float smallest(FloatLanes a) noexcept {
        const __m256 eight = _mm256_min_ps(a.lo, a.hi);
        const __m128 four = _mm_min_ps(_mm256_castps256_ps128(eight), _mm256_extractf128_ps(eight, 1));
        const __m128 two = _mm_min_ps(four, _mm_movehl_ps(four, four));
        return _mm_cvtss_f32(_mm_min_ss(two, _mm_shuffle_ps(two, two, 1)));
    }
    // The sum of the lanes, in an order of the instruction set's choosing.
    static float sum(FloatLanes a) noexcept {
        const __m256 eight = _mm256_add_ps(a.lo, a.hi);
        const __m128 four = _mm_add_ps(_mm256_castps256_ps128(eight), _mm256_extractf128_ps(eight, 1));
        const __m128 two = _mm_add_ps(four, _mm_movehl_ps(four, four));
        return _mm_cvtss_f32(_mm_add_ss(two, _mm_shuffle_ps(two, two, 1)));
    }
};

}  // namespace

const LaneKernels AVX2_KERNELS = lane_kernels<Lanes, FloatLanes>();

}  // namespace veltra::core::lanes
