// Built with -mavx2 -mfma. -ffp-contract=off keeps fused multiply-adds out of
// the arithmetic whose bits count; only the screen's multiply_add fuses.
#include <immintrin.h>

#include "core/kernels/lane_kernels.h"

namespace veltra::core::lanes {

namespace {

__m256d mask_of(unsigned bits) noexcept {
    const auto lane = [bits](unsigned j) { return -static_cast<long long>((bits >> j) & 1u); };
    return _mm256_castsi256_pd(_mm256_set_epi64x(lane(3), lane(2), lane(1), lane(0)));
}

struct Lanes {
    __m256d lo;
    __m256d hi;

    static Lanes zero() noexcept { return {_mm256_setzero_pd(), _mm256_setzero_pd()}; }
    static Lanes load(const double* p) noexcept { return {_mm256_loadu_pd(p), _mm256_loadu_pd(p + 4)}; }
    // Lanes 0..count-1 from p, the others 0; nothing past them is read.
    static Lanes load_first(const double* p, int count) noexcept {
        const unsigned bits = (1u << count) - 1u;
        return {_mm256_maskload_pd(p, _mm256_castpd_si256(mask_of(bits))),
                _mm256_maskload_pd(p + 4, _mm256_castpd_si256(mask_of(bits >> 4)))};
    }
    static Lanes broadcast(double a) noexcept { return {_mm256_set1_pd(a), _mm256_set1_pd(a)}; }
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
    // a * b + c, rounded once; for the screen only.
    static Lanes multiply_add(Lanes a, Lanes b, Lanes c) noexcept {
        return {_mm256_fmadd_pd(a.lo, b.lo, c.lo), _mm256_fmadd_pd(a.hi, b.hi, c.hi)};
    }
};

}  // namespace

const LaneKernels AVX2_KERNELS = lane_kernels<Lanes>();

}  // namespace veltra::core::lanes
