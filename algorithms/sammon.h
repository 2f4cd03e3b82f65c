#pragma once

#include <cstdint>

#include "core/random.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::algorithms {

inline constexpr double SAMMON_MAGIC_FACTOR = 0.2;
inline constexpr std::int32_t SAMMON_ITERATIONS = 100;

// Sammon's mapping of n prototypes (n >= 1) onto the plane: seeds the
// generator, takes its working storage from `heap` (next x, next y, then the
// packed distance table), and runs `iterations` simultaneous update steps,
// centring after each. Fills x, y (n values each) and stress, the stress of
// the final configuration. Returns false, with x, y and stress untouched,
// when the working storage cannot be had (or n < 1).
//
// Never produces NaN or infinity. Where Sammon's formulas would divide by
// zero the following guards apply; wherever they do not apply, the results
// are bit-identical to the unguarded formulas:
// - a pair is left out of a point's derivative sums in a step when its input
//   distance D is 0 (equal prototypes) or not finite (a prototype holding a
//   NaN or an infinity, or a distance that overflows), or when its plane
//   distance d is 0 (coinciding points), i.e. when D * d is 0 or D not finite;
// - a coordinate keeps its value in a step when its second-derivative sum is
//   0 (for instance when no pair counted) or its update is not finite;
// - the stress sums only pairs with a finite D above 0, and is 0 when no pair
//   counts.
// So one prototype gives the point (0, 0) and stress 0; all prototypes equal
// give the initial configuration, centred, and stress 0; a prototype holding
// a NaN moves only with the centring while the others are arranged by their
// own distances.
[[nodiscard]] bool sammon_project(const core::Matrix& prototypes, double* x, double* y, std::int32_t n,
                                  std::int32_t nvars, std::int32_t iterations, double& stress,
                                  core::Heap& heap, core::RandomGenerator& random);

}  // namespace veltra::algorithms
