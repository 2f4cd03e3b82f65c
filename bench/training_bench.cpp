#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "algorithms/som_training.h"
#include "bench_workspace.h"
#include "core/measures_plain.h"

namespace veltra::bench {
namespace {

constexpr std::int32_t ORDER = 2;
constexpr double LEARNING_RATE = 0.05;
constexpr double UPDATE_FACTOR = 0.3;

// One epoch of presentations with the plain winner search and row moves.
void plain_epoch(core::Workspace& ws) {
    ws.random.seed_random_from_clock();
    const double neighbour_rate = LEARNING_RATE * UPDATE_FACTOR;
    for (std::int32_t n = 0; n < ws.ndata; ++n) {
        const std::int32_t r = ws.random.draw_random() % ws.ndata;
        const std::int32_t w = core::plain::find_winner(ws.prototypes, ws.nprotos, ws.data, r, ws.nvars);
        ws.win_counts[w] = 1;
        algorithms::move_toward(ws.prototypes, w, ws.data, r, ws.nvars, LEARNING_RATE);
        for (std::int32_t j = 0; j < ws.nprotos; ++j) {
            const int grid_distance = ws.incidence[w][j];
            if (grid_distance >= 1 && grid_distance <= ORDER) {
                algorithms::move_toward(ws.prototypes, j, ws.data, r, ws.nvars, neighbour_rate);
            }
        }
    }
}

// Every iteration starts from the same prototypes, so both paths do the same
// presentations and moves.
template <bool PLAIN>
void training_epoch(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(static_cast<std::int32_t>(state.range(0)), 6, 6,
                                          static_cast<DataKind>(state.range(1)));
    auto start = core::alloc_matrix(ws.heap, ws.nprotos, ws.nvars);
    if (!start) {
        state.SkipWithError("no memory");
        return;
    }
    core::copy_matrix(ws.prototypes, *start);
    for (auto _ : state) {
        core::copy_matrix(*start, ws.prototypes);
        if constexpr (PLAIN) {
            plain_epoch(ws);
        } else {
            algorithms::train_epoch(ws.prototypes, ws.data, ws.incidence, ws.win_counts.span(), ws.nprotos,
                                    ws.ndata, ws.nvars, ORDER, LEARNING_RATE, UPDATE_FACTOR, ws.random);
        }
    }
    core::copy_matrix(*start, ws.prototypes);
}

BENCHMARK(training_epoch<false>)
    ->Name("training_epoch_order_2")
    ->Apply(data_shapes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(training_epoch<true>)
    ->Name("training_epoch_order_2_plain")
    ->Apply(data_shapes)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltra::bench
