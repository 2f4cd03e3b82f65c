// Built with -mavx512f. -ffp-contract=off keeps the fused multiply-adds that
// AVX-512 offers out of the arithmetic.
#include <immintrin.h>

#include "core/kernels/lane_kernels.h"

namespace veltra::core::lanes {

namespace {

struct Lanes {
    __m512d v;

    static Lanes zero() noexcept { return {_mm512_setzero_pd()}; }
    static Lanes load(const double* p) noexcept { return {_mm512_loadu_pd(p)}; }
    static Lanes broadcast(double a) noexcept { return {_mm512_set1_pd(a)}; }
    void store(double* p) const noexcept { _mm512_storeu_pd(p, v); }
    // Bit j set when lane j of a is below lane j of b (false with NaN).
    static unsigned less(Lanes a, Lanes b) noexcept { return _mm512_cmp_pd_mask(a.v, b.v, _CMP_LT_OQ); }
    // Lane j from a where bit j of mask is set, else from b.
    static Lanes select(unsigned mask, Lanes a, Lanes b) noexcept {
        return {_mm512_mask_blend_pd(static_cast<__mmask8>(mask), b.v, a.v)};
    }
    friend Lanes operator+(Lanes a, Lanes b) noexcept { return {_mm512_add_pd(a.v, b.v)}; }
    friend Lanes operator-(Lanes a, Lanes b) noexcept { return {_mm512_sub_pd(a.v, b.v)}; }
    friend Lanes operator*(Lanes a, Lanes b) noexcept { return {_mm512_mul_pd(a.v, b.v)}; }
};

}  // namespace

const LaneKernels AVX512_KERNELS = lane_kernels<Lanes>();

}  // namespace veltra::core::lanes
