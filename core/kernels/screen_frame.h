#pragma once

#include <cstdint>

#include "core/storage/storage.h"

namespace veltra::core {

// The coordinates of the single-precision screen for rows 0..nprotos-1:
// shift[k] := the middle of variable k's range (k < nvars), scale := the power
// of two that brings the largest shifted |value| into [1/2, 1), or 1 when all
// the prototypes are equal. Returns false when a value is not finite or the
// scale would be so far from 1 that the plain loop's underflow or the
// screen's overflow could matter; shift and scale are then of no use.
[[nodiscard]] bool choose_screen_frame(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                                       double* shift, double& scale) noexcept;

}  // namespace veltra::core
