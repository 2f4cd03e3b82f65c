#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/clock.h"
#include "core/workspace.h"

namespace veltra::bench {

inline constexpr std::int32_t NDATA = 32767;

// Uniform: every value drawn evenly from [0, 100), the hardest case for early
// abandon, since all distances are alike. Clustered: 36 centres drawn so, each
// datavector a centre plus normal noise of deviation 5 per value, as data
// with groups in it looks.
enum class DataKind { uniform = 0, clustered = 1 };

// A workspace of ndata datavectors of nvars values, a rows x cols map and
// prototypes picked from the data. Built once per shape and kind and kept, so
// that every case and its plain loop see the same numbers.
core::Workspace& bench_workspace(std::int32_t nvars, std::int32_t rows, std::int32_t cols,
                                 DataKind kind = DataKind::uniform, std::int32_t ndata = NDATA);

// The data shapes of the hot-path cases: 64 and 1024 variables, uniform and
// clustered; the case reads them as range(0) and range(1).
void data_shapes(benchmark::internal::Benchmark* b);

// The fixed clock that seeds every randomized operation of the benchmarks.
core::FixedClock& bench_clock();

}  // namespace veltra::bench
