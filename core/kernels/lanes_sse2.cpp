// The baseline of every x86-64 processor.
#include <emmintrin.h>
#include <xmmintrin.h>

#include "core/kernels/lane_kernels.h"

namespace veltra::core::lanes {

namespace {

__m128d mask_of(unsigned bits) noexcept {
    const auto lane = [bits](unsigned j) { return -static_cast<long long>((bits >> j) & 1u); };
    return _mm_castsi128_pd(_mm_set_epi64x(lane(1), lane(0)));
}

// Four doubles: half a group.
struct HalfLanes {
    __m128d v[2];

    static HalfLanes zero() noexcept { return {{_mm_setzero_pd(), _mm_setzero_pd()}}; }
    static HalfLanes load(const double* p) noexcept { return {{_mm_loadu_pd(p), _mm_loadu_pd(p + 2)}}; }
    static HalfLanes broadcast(double a) noexcept {
        const __m128d b = _mm_set1_pd(a);
        return {{b, b}};
    }
    friend HalfLanes operator+(HalfLanes a, HalfLanes b) noexcept {
        return {{_mm_add_pd(a.v[0], b.v[0]), _mm_add_pd(a.v[1], b.v[1])}};
    }
    friend HalfLanes operator*(HalfLanes a, HalfLanes b) noexcept {
        return {{_mm_mul_pd(a.v[0], b.v[0]), _mm_mul_pd(a.v[1], b.v[1])}};
    }
    // a * b + c, rounded twice (SSE2 has no fused form); for the screen only.
    static HalfLanes multiply_add(HalfLanes a, HalfLanes b, HalfLanes c) noexcept { return a * b + c; }
};

struct Lanes {
    __m128d v[4];

    using Half = HalfLanes;

    // Independent chains of sums that keep the multiply-adders busy.
    static constexpr int CHAINS = 1;

    static Lanes zero() noexcept {
        const __m128d z = _mm_setzero_pd();
        return {{z, z, z, z}};
    }
    static Lanes load(const double* p) noexcept {
        return {{_mm_loadu_pd(p), _mm_loadu_pd(p + 2), _mm_loadu_pd(p + 4), _mm_loadu_pd(p + 6)}};
    }
    // Lanes 0..count-1 from p, the others 0; nothing past them is read.
    static Lanes load_first(const double* p, int count) noexcept {
        Lanes r;
        for (int q = 0; q < 4; ++q) {
            const int left = count - 2 * q;
            r.v[q] = left >= 2   ? _mm_loadu_pd(p + 2 * q)
                     : left == 1 ? _mm_load_sd(p + 2 * q)
                                 : _mm_setzero_pd();
        }
        return r;
    }
    static Lanes broadcast(double a) noexcept {
        const __m128d b = _mm_set1_pd(a);
        return {{b, b, b, b}};
    }
    // p[0..7], floats, as doubles.
    static Lanes load_floats(const float* p) noexcept {
        const __m128 low = _mm_loadu_ps(p);
        const __m128 high = _mm_loadu_ps(p + 4);
        return {{_mm_cvtps_pd(low), _mm_cvtps_pd(_mm_movehl_ps(low, low)), _mm_cvtps_pd(high),
                 _mm_cvtps_pd(_mm_movehl_ps(high, high))}};
    }
    // Lanes 0..3 from h, the others 0.
    static Lanes from_half(HalfLanes h) noexcept {
        return {{h.v[0], h.v[1], _mm_setzero_pd(), _mm_setzero_pd()}};
    }
    void store(double* p) const noexcept {
        for (int q = 0; q < 4; ++q) _mm_storeu_pd(p + 2 * q, v[q]);
    }
    // Bit j set when lane j of a is at most lane j of b (false with NaN).
    static unsigned less_equal(Lanes a, Lanes b) noexcept {
        unsigned bits = 0;
        for (int q = 0; q < 4; ++q)
            bits |= static_cast<unsigned>(_mm_movemask_pd(_mm_cmple_pd(a.v[q], b.v[q]))) << (2 * q);
        return bits;
    }
    // Bit j set when lane j of a equals lane j of b (false with NaN).
    static unsigned equal(Lanes a, Lanes b) noexcept {
        unsigned bits = 0;
        for (int q = 0; q < 4; ++q)
            bits |= static_cast<unsigned>(_mm_movemask_pd(_mm_cmpeq_pd(a.v[q], b.v[q]))) << (2 * q);
        return bits;
    }
    // The smaller of each pair of lanes; for lanes without NaN.
    static Lanes min(Lanes a, Lanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_min_pd(a.v[q], b.v[q]);
        return a;
    }
    // Lane j from a where bit j of mask is set, else from b.
    static Lanes select(unsigned mask, Lanes a, Lanes b) noexcept {
        Lanes r;
        for (int q = 0; q < 4; ++q) {
            const __m128d m = mask_of(mask >> (2 * q));
            r.v[q] = _mm_or_pd(_mm_and_pd(m, a.v[q]), _mm_andnot_pd(m, b.v[q]));
        }
        return r;
    }
    friend Lanes operator+(Lanes a, Lanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_add_pd(a.v[q], b.v[q]);
        return a;
    }
    friend Lanes operator-(Lanes a, Lanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_sub_pd(a.v[q], b.v[q]);
        return a;
    }
    // a - b (there are no multiply-adders to take it).
    static Lanes multiplier_difference(Lanes a, Lanes b) noexcept { return a - b; }
    friend Lanes operator*(Lanes a, Lanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_mul_pd(a.v[q], b.v[q]);
        return a;
    }
    static Lanes sqrt(Lanes a) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_sqrt_pd(a.v[q]);
        return a;
    }
    // a * b + c, rounded twice (SSE2 has no fused form); for the screen only.
    static Lanes multiply_add(Lanes a, Lanes b, Lanes c) noexcept { return a * b + c; }
    static double smallest(Lanes a) noexcept {
        const __m128d two = _mm_min_pd(_mm_min_pd(a.v[0], a.v[1]), _mm_min_pd(a.v[2], a.v[3]));
        return _mm_cvtsd_f64(_mm_min_sd(two, _mm_unpackhi_pd(two, two)));
    }
    static double sum(Lanes a) noexcept {
        const __m128d two = _mm_add_pd(_mm_add_pd(a.v[0], a.v[1]), _mm_add_pd(a.v[2], a.v[3]));
        return _mm_cvtsd_f64(_mm_add_sd(two, _mm_unpackhi_pd(two, two)));
    }
    // The lanes rounded to float, at p[0..7].
    void store_as_floats(float* p) const noexcept {
        for (int q = 0; q < 4; ++q) _mm_storel_pi(reinterpret_cast<__m64*>(p + 2 * q), _mm_cvtpd_ps(v[q]));
    }
};

// Sixteen floats, for the single-precision screen.
struct FloatLanes {
    __m128 v[4];

    // Independent chains of sums that keep the multiply-adders busy.
    static constexpr int CHAINS = 1;

    // Lanes v * 16 / T .. (v + 1) * 16 / T - 1 hold a[v], v < T.
    template <int T>
    static FloatLanes spread(const float* a) noexcept {
        static_assert(T == 2 || T == 4);
        if constexpr (T == 2) {
            const __m128 first = _mm_set1_ps(a[0]);
            const __m128 second = _mm_set1_ps(a[1]);
            return {{first, first, second, second}};
        }
        return {{_mm_set1_ps(a[0]), _mm_set1_ps(a[1]), _mm_set1_ps(a[2]), _mm_set1_ps(a[3])}};
    }
    // Lane p := the sum of lanes p + v * 16 / T, v < T, for p < 16 / T; the
    // others 0.
    template <int T>
    static FloatLanes fold(const FloatLanes& a) noexcept {
        static_assert(T == 2 || T == 4);
        const __m128 z = _mm_setzero_ps();
        if constexpr (T == 2) return {{_mm_add_ps(a.v[0], a.v[2]), _mm_add_ps(a.v[1], a.v[3]), z, z}};
        return {{_mm_add_ps(_mm_add_ps(a.v[0], a.v[1]), _mm_add_ps(a.v[2], a.v[3])), z, z, z}};
    }

    // The lanes of lo, then those of hi, rounded to float as
    // Lanes::store_as_floats rounds them.
    static FloatLanes from_doubles(const Lanes& lo, const Lanes& hi) noexcept {
        return {{_mm_movelh_ps(_mm_cvtpd_ps(lo.v[0]), _mm_cvtpd_ps(lo.v[1])),
                 _mm_movelh_ps(_mm_cvtpd_ps(lo.v[2]), _mm_cvtpd_ps(lo.v[3])),
                 _mm_movelh_ps(_mm_cvtpd_ps(hi.v[0]), _mm_cvtpd_ps(hi.v[1])),
                 _mm_movelh_ps(_mm_cvtpd_ps(hi.v[2]), _mm_cvtpd_ps(hi.v[3]))}};
    }

    static FloatLanes zero() noexcept {
        const __m128 z = _mm_setzero_ps();
        return {{z, z, z, z}};
    }
    static FloatLanes load(const float* p) noexcept {
        return {{_mm_loadu_ps(p), _mm_loadu_ps(p + 4), _mm_loadu_ps(p + 8), _mm_loadu_ps(p + 12)}};
    }
    static FloatLanes broadcast(float a) noexcept {
        const __m128 b = _mm_set1_ps(a);
        return {{b, b, b, b}};
    }
    void store(float* p) const noexcept {
        for (int q = 0; q < 4; ++q) _mm_storeu_ps(p + 4 * q, v[q]);
    }
    static unsigned less_equal(FloatLanes a, FloatLanes b) noexcept {
        unsigned bits = 0;
        for (int q = 0; q < 4; ++q)
            bits |= static_cast<unsigned>(_mm_movemask_ps(_mm_cmple_ps(a.v[q], b.v[q]))) << (4 * q);
        return bits;
    }
    static FloatLanes min(FloatLanes a, FloatLanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_min_ps(a.v[q], b.v[q]);
        return a;
    }
    static FloatLanes select(unsigned mask, FloatLanes a, FloatLanes b) noexcept {
        FloatLanes r;
        for (int q = 0; q < 4; ++q) {
            const unsigned m = mask >> (4 * q);
            const __m128 lanes = _mm_castsi128_ps(
                _mm_set_epi32(-static_cast<int>((m >> 3) & 1u), -static_cast<int>((m >> 2) & 1u),
                              -static_cast<int>((m >> 1) & 1u), -static_cast<int>(m & 1u)));
            r.v[q] = _mm_or_ps(_mm_and_ps(lanes, a.v[q]), _mm_andnot_ps(lanes, b.v[q]));
        }
        return r;
    }
    friend FloatLanes operator+(FloatLanes a, FloatLanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_add_ps(a.v[q], b.v[q]);
        return a;
    }
    friend FloatLanes operator-(FloatLanes a, FloatLanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_sub_ps(a.v[q], b.v[q]);
        return a;
    }
    friend FloatLanes operator*(FloatLanes a, FloatLanes b) noexcept {
        for (int q = 0; q < 4; ++q) a.v[q] = _mm_mul_ps(a.v[q], b.v[q]);
        return a;
    }
    // a * b + c, rounded twice (SSE2 has no fused form).
    static FloatLanes multiply_add(FloatLanes a, FloatLanes b, FloatLanes c) noexcept { return a * b + c; }
    // The smallest lane; for lanes without NaN.
    static float smallest(const FloatLanes& a) noexcept {
        const __m128 four = _mm_min_ps(_mm_min_ps(a.v[0], a.v[1]), _mm_min_ps(a.v[2], a.v[3]));
        const __m128 two = _mm_min_ps(four, _mm_movehl_ps(four, four));
        return _mm_cvtss_f32(_mm_min_ss(two, _mm_shuffle_ps(two, two, 1)));
    }
    // The sum of the lanes, in an order of the instruction set's choosing.
    static float sum(FloatLanes a) noexcept {
        const __m128 four = _mm_add_ps(_mm_add_ps(a.v[0], a.v[1]), _mm_add_ps(a.v[2], a.v[3]));
        const __m128 two = _mm_add_ps(four, _mm_movehl_ps(four, four));
        return _mm_cvtss_f32(_mm_add_ss(two, _mm_shuffle_ps(two, two, 1)));
    }
};

}  // namespace

const LaneKernels SSE2_KERNELS = lane_kernels<Lanes, FloatLanes>();

}  // namespace veltra::core::lanes
