#pragma once

#include <cstdint>
#include <span>

#include "core/storage.h"
#include "core/workspace.h"

namespace veltra::core {

// The distances, the winner rule and the quality measures by which every
// algorithm judges a map. Each returns exactly the bits of the plain loops in
// core/measures_plain.h (sums in index order from 0) and never fails; the
// fast paths keep their scratch from the first call on, outside the
// workspace heap, and fall back to the plain loops when it cannot be had.

// Sum over k < nvars of (a[k] - b[k])^2; 0 when nvars <= 0.
double squared_distance(const double* a, const double* b, std::int32_t nvars) noexcept;

// Largest |a[k] - b[k]| over k < nvars (0 when nvars <= 0).
double max_distance(const double* a, const double* b, std::int32_t nvars) noexcept;

// Index of the prototype nearest to datavector i; a later prototype wins only
// when strictly nearer, so ties go to the lowest index.
std::int32_t find_winner(const Matrix& prototypes, std::int32_t nprotos, const Matrix& data, std::int32_t i,
                         std::int32_t nvars) noexcept;

// winners[i] := find_winner for every i < ndata.
void assign_winners(const Matrix& data, std::int32_t ndata, const Matrix& prototypes, std::int32_t nprotos,
                    std::int32_t nvars, std::span<std::int32_t> winners) noexcept;

// Mean squared distance of the datavectors to their listed winners.
double compute_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                             std::span<const std::int32_t> winners, std::int32_t nvars) noexcept;

// assign_winners, then compute_heterogeneity with those winners, in one pass:
// each winner's distance is summed once.
double assign_winners_and_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                                        std::int32_t nprotos, std::int32_t nvars,
                                        std::span<std::int32_t> winners) noexcept;

// Mean squared distance over pairs j < k at grid distance 1; 0 without pairs.
double compute_simplicity(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence) noexcept;

// Percentage of comparable triples whose map order the data order contradicts
// (0..50); fills counts (nprotos entries) with the violations per prototype.
double compute_violations(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence, std::span<std::int32_t> counts) noexcept;

}  // namespace veltra::core
