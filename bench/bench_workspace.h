#pragma once

#include <cstdint>

#include "core/clock.h"
#include "core/workspace.h"

namespace veltra::bench {

inline constexpr std::int32_t NDATA = 32767;

// A workspace of NDATA datavectors of nvars uniform values in [0, 100), a
// rows x cols map and prototypes picked from the data. Built once per shape and
// kept, so that every case and its plain loop see the same numbers.
core::Workspace& bench_workspace(std::int32_t nvars, std::int32_t rows, std::int32_t cols);

// The fixed clock that seeds every randomized operation of the benchmarks.
core::FixedClock& bench_clock();

}  // namespace veltra::bench
