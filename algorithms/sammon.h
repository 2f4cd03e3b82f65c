#pragma once

#include <cstdint>

#include "core/heap.h"
#include "core/random.h"
#include "core/storage.h"

namespace veltra::algorithms {

inline constexpr double SAMMON_MAGIC_FACTOR = 0.2;
inline constexpr std::int32_t SAMMON_ITERATIONS = 100;

// Sammon's mapping of n prototypes onto the plane: seeds the generator, takes
// its working storage from `heap`, and runs `iterations` simultaneous update
// steps, centring after each. Fills x, y (n values each) and stress. Returns
// false, with the outputs untouched, when the working storage cannot be had.
// Never produces NaN: see the definition for one point and equal points.
[[nodiscard]] bool sammon_project(const core::Matrix& prototypes, double* x, double* y, std::int32_t n,
                                  std::int32_t nvars, std::int32_t iterations, double& stress, core::Heap& heap,
                                  core::RandomGenerator& random);

}  // namespace veltra::algorithms
