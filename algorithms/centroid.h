#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "core/workspace.h"

namespace veltra::algorithms {

// The smallest fall in heterogeneity per step for which convergence goes on.
inline constexpr double CONVERGENCE_EPSILON = 0.001;

// Replaces every prototype by the mean of the datavectors the winner list
// gives it; a prototype that wins none becomes the zero vector.
void centroid_step(const core::Matrix& data, std::int32_t ndata, core::Matrix& prototypes,
                   std::int32_t nprotos, std::int32_t nvars, std::span<const std::int32_t> winners);

// Alternates assignment and centroid steps on the workspace until the
// heterogeneity falls by no more than CONVERGENCE_EPSILON; reports the
// heterogeneity after each step and returns the last one.
using ConvergenceObserver = std::function<void(double heterogeneity)>;
double converge_to_centroid(core::Workspace& ws, const ConvergenceObserver& observer);

}  // namespace veltra::algorithms
