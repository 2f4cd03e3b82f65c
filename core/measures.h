#pragma once

#include <cstdint>
#include <span>

#include "core/storage/storage.h"
#include "core/workspace.h"

namespace veltra::core {

// The distances and the map's quality measures by which every algorithm
// judges a map. Each returns exactly the bits of the plain loops in
// core/measures_plain.h (sums in index order from 0), allocates nothing and
// never fails. The winner rule and the heterogeneity, which need scratch and a
// packed copy of the prototypes, are reached through the workspace's
// PrototypeKernels (core/kernels/prototype_kernels.h).

// Sum over k < nvars of (a[k] - b[k])^2; 0 when nvars <= 0.
double squared_distance(const double* a, const double* b, std::int32_t nvars) noexcept;

// Largest |a[k] - b[k]| over k < nvars (0 when nvars <= 0).
double max_distance(const double* a, const double* b, std::int32_t nvars) noexcept;

// Mean squared distance over pairs j < k at grid distance 1; 0 without pairs.
double compute_simplicity(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence) noexcept;

// Percentage of comparable triples whose map order the data order contradicts
// (0..50); fills counts (nprotos entries) with the violations per prototype.
double compute_violations(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence, std::span<std::int32_t> counts) noexcept;

}  // namespace veltra::core
