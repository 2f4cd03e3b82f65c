#include <benchmark/benchmark.h>

#include <cstdint>

#include "algorithms/som_training.h"
#include "algorithms/som_training_plain.h"
#include "bench_workspace.h"

namespace veltra::bench {
namespace {

// Order 2 on a 6 x 6 map: a winner moves with up to 24 neighbours; order 1:
// up to 8.
constexpr algorithms::TrainingSchedule ORDER_2 = {1, 2, 0.05, 0.3};
constexpr algorithms::TrainingSchedule ORDER_1 = {1, 1, 0.05, 0.3};

// Few datavectors of many variables, where the moves outweigh the searches.
constexpr std::int32_t FEW_DATA = 5000;

// Every iteration starts from the same prototypes, so both paths do the same
// presentations and moves.
template <bool PLAIN, const algorithms::TrainingSchedule& STAGE>
void training_epoch(benchmark::State& state, core::Workspace& ws) {
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

template <bool PLAIN>
void training_epoch_order_2(benchmark::State& state) {
    training_epoch<PLAIN, ORDER_2>(state, bench_workspace(static_cast<std::int32_t>(state.range(0)), 6, 6,
                                                          static_cast<DataKind>(state.range(1))));
}

template <bool PLAIN>
void training_epoch_order_1_few_data(benchmark::State& state) {
    training_epoch<PLAIN, ORDER_1>(
        state, bench_workspace(512, 6, 6, static_cast<DataKind>(state.range(0)), FEW_DATA));
}

BENCHMARK(training_epoch_order_2<false>)
    ->Name("training_epoch_order_2")
    ->Apply(data_shapes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(training_epoch_order_2<true>)
    ->Name("training_epoch_order_2_plain")
    ->Apply(data_shapes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(training_epoch_order_1_few_data<false>)
    ->Name("training_epoch_order_1_5000x512")
    ->ArgName("clustered")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(training_epoch_order_1_few_data<true>)
    ->Name("training_epoch_order_1_5000x512_plain")
    ->ArgName("clustered")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltra::bench
