#pragma once

#include <cstdint>
#include <span>

#include "core/storage/storage.h"
#include "core/workspace.h"

// The measures as straight loops in index order. They define the results: the
// fast versions in core/measures.h must return exactly the same bits. Kept for
// the equality tests and the benchmarks.
namespace veltra::core::plain {

double squared_distance(const double* a, const double* b, std::int32_t nvars) noexcept;

double max_distance(const double* a, const double* b, std::int32_t nvars) noexcept;

std::int32_t find_winner(const Matrix& prototypes, std::int32_t nprotos, const Matrix& data, std::int32_t i,
                         std::int32_t nvars) noexcept;

void assign_winners(const Matrix& data, std::int32_t ndata, const Matrix& prototypes, std::int32_t nprotos,
                    std::int32_t nvars, std::span<std::int32_t> winners) noexcept;

double compute_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                             std::span<const std::int32_t> winners, std::int32_t nvars) noexcept;

double compute_simplicity(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence) noexcept;

double compute_violations(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence, std::span<std::int32_t> counts) noexcept;

}  // namespace veltra::core::plain
