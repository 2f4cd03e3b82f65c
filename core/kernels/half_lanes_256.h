#pragma once

#include <immintrin.h>

// Half a group of lanes of doubles in one 256-bit register, for the AVX2 and the AVX-512
// units (AVX-512F alone has no masked 256-bit forms). Each of them gets its
// own copy, in an unnamed namespace, compiled with its own instructions.
namespace veltra::core::lanes {

namespace {

// Four doubles: half a group.
struct HalfLanes {
    __m256d v;

    static HalfLanes zero() noexcept { return {_mm256_setzero_pd()}; }
    static HalfLanes load(const double* p) noexcept { return {_mm256_loadu_pd(p)}; }
    static HalfLanes broadcast(double a) noexcept { return {_mm256_set1_pd(a)}; }
    friend HalfLanes operator+(HalfLanes a, HalfLanes b) noexcept { return {_mm256_add_pd(a.v, b.v)}; }
    static HalfLanes multiply_add(HalfLanes a, HalfLanes b, HalfLanes c) noexcept {
        return {_mm256_fmadd_pd(a.v, b.v, c.v)};
    }
};

}  // namespace

}  // namespace veltra::core::lanes
