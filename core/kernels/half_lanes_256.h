#pragma once

#include <immintrin.h>

// Half a group of lanes (of doubles or of floats) in one 256-bit register, for the AVX2 and the AVX-512
// units (AVX-512F alone has no masked 256-bit forms). Each of them gets its
// own copy, in an unnamed namespace, compiled with its own instructions.
namespace veltra::core::lanes {

namespace {

// All ones in lane j where bit j of `bits` is set, for j < 4.
__m256d mask_of(unsigned bits) noexcept {
    const auto lane = [bits](unsigned j) { return -static_cast<long long>((bits >> j) & 1u); };
    return _mm256_castsi256_pd(_mm256_set_epi64x(lane(3), lane(2), lane(1), lane(0)));
}

// Four doubles: half a group.
struct HalfLanes {
    __m256d v;

    static constexpr int LANES = 4;

    static HalfLanes zero() noexcept { return {_mm256_setzero_pd()}; }
    static HalfLanes load(const double* p) noexcept { return {_mm256_loadu_pd(p)}; }
    // Lanes 0..count-1 from p, the others 0; nothing past them is read.
    static HalfLanes load_first(const double* p, int count) noexcept {
        return {_mm256_maskload_pd(p, _mm256_castpd_si256(mask_of((1u << count) - 1u)))};
    }
    static HalfLanes broadcast(double a) noexcept { return {_mm256_set1_pd(a)}; }
    void store(double* p) const noexcept { _mm256_storeu_pd(p, v); }
    static HalfLanes select(unsigned mask, HalfLanes a, HalfLanes b) noexcept {
        return {_mm256_blendv_pd(b.v, a.v, mask_of(mask))};
    }
    friend HalfLanes operator+(HalfLanes a, HalfLanes b) noexcept { return {_mm256_add_pd(a.v, b.v)}; }
    friend HalfLanes operator-(HalfLanes a, HalfLanes b) noexcept { return {_mm256_sub_pd(a.v, b.v)}; }
    friend HalfLanes operator*(HalfLanes a, HalfLanes b) noexcept { return {_mm256_mul_pd(a.v, b.v)}; }
    static HalfLanes multiply_add(HalfLanes a, HalfLanes b, HalfLanes c) noexcept {
        return {_mm256_fmadd_pd(a.v, b.v, c.v)};
    }
};

// Eight floats: half a group of the single-precision screen.
struct HalfFloatLanes {
    __m256 v;

    static HalfFloatLanes zero() noexcept { return {_mm256_setzero_ps()}; }
    static HalfFloatLanes load(const float* p) noexcept { return {_mm256_loadu_ps(p)}; }
    static HalfFloatLanes broadcast(float a) noexcept { return {_mm256_set1_ps(a)}; }
    friend HalfFloatLanes operator+(HalfFloatLanes a, HalfFloatLanes b) noexcept {
        return {_mm256_add_ps(a.v, b.v)};
    }
    static HalfFloatLanes multiply_add(HalfFloatLanes a, HalfFloatLanes b, HalfFloatLanes c) noexcept {
        return {_mm256_fmadd_ps(a.v, b.v, c.v)};
    }
};

}  // namespace

}  // namespace veltra::core::lanes
