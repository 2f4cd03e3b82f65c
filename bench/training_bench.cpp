#include <benchmark/benchmark.h>

#include <cstdint>

#include "algorithms/som_training.h"
#include "algorithms/som_training_plain.h"
#include "bench_workspace.h"

namespace veltra::bench {
namespace {

// Order 2 on a 6 x 6 map: a winner moves with up to 24 neighbours.
constexpr algorithms::TrainingSchedule STAGE = {1, 2, 0.05, 0.3};

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
            ws.random.seed_random_from_clock();
            algorithms::plain::present_epoch(ws, STAGE);
        } else {
            algorithms::train_epoch(ws, STAGE);
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
