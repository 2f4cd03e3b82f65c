#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "algorithms/initialization.h"
#include "bench_workspace.h"
#include "core/measures.h"
#include "core/measures_plain.h"

namespace veltra::bench {
namespace {

void assign_winners_and_heterogeneity(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(static_cast<std::int32_t>(state.range(0)), 6, 6,
                                          static_cast<DataKind>(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ws.kernels.assign_winners_and_heterogeneity(
            ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, ws.winners.span()));
    }
}

void assign_winners_and_heterogeneity_plain(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(static_cast<std::int32_t>(state.range(0)), 6, 6,
                                          static_cast<DataKind>(state.range(1)));
    for (auto _ : state) {
        core::plain::assign_winners(ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars,
                                    ws.winners.span());
        benchmark::DoNotOptimize(core::plain::compute_heterogeneity(ws.data, ws.ndata, ws.prototypes,
                                                                    ws.winners.span(), ws.nvars));
    }
}

// One pick trial per iteration, through the real trial series. Each run seeds
// from the fixed clock, so every iteration picks the same prototypes.
void pick_trial(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(static_cast<std::int32_t>(state.range(0)), 6, 6,
                                          static_cast<DataKind>(state.range(1)));
    algorithms::TrialSeries series;
    algorithms::begin_trial_series(series);
    for (auto _ : state) {
        if (algorithms::run_pick_trials(ws, series, 1, {}) != algorithms::PickResult::ok) {
            state.SkipWithError("too few distinct datavectors");
        }
    }
}

// The same trial with the plain loops: seed, pick, assign, measure, adopt
// when better.
void pick_trial_plain(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(static_cast<std::int32_t>(state.range(0)), 6, 6,
                                          static_cast<DataKind>(state.range(1)));
    double best = std::numeric_limits<double>::infinity();
    for (auto _ : state) {
        ws.random.seed_random_from_clock();
        algorithms::pick_random_datapoints(ws);
        core::plain::assign_winners(ws.data, ws.ndata, ws.trial_prototypes, ws.nprotos, ws.nvars,
                                    ws.winners.span());
        const double h = core::plain::compute_heterogeneity(ws.data, ws.ndata, ws.trial_prototypes,
                                                            ws.winners.span(), ws.nvars);
        if (h < best) {
            core::copy_matrix(ws.trial_prototypes, ws.prototypes);
            best = h;
        }
    }
}

// A run of 100 pick trials, as the pick dialog makes it, against the plain
// trial 100 times.
constexpr std::int32_t TRIALS = 100;

void pick_100_trials(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(64, 6, 6, static_cast<DataKind>(state.range(0)));
    algorithms::TrialSeries series;
    for (auto _ : state) {
        algorithms::begin_trial_series(series);
        if (algorithms::run_pick_trials(ws, series, TRIALS, {}) != algorithms::PickResult::ok) {
            state.SkipWithError("too few distinct datavectors");
        }
    }
}

void pick_100_trials_plain(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(64, 6, 6, static_cast<DataKind>(state.range(0)));
    for (auto _ : state) {
        if (algorithms::count_distinct_datavectors(ws, ws.nprotos) < ws.nprotos) {
            state.SkipWithError("too few distinct datavectors");
        }
        ws.random.seed_random_from_clock();
        double best = std::numeric_limits<double>::infinity();
        for (std::int32_t t = 0; t < TRIALS; ++t) {
            algorithms::pick_random_datapoints(ws);
            core::plain::assign_winners(ws.data, ws.ndata, ws.trial_prototypes, ws.nprotos, ws.nvars,
                                        ws.winners.span());
            const double h = core::plain::compute_heterogeneity(ws.data, ws.ndata, ws.trial_prototypes,
                                                                ws.winners.span(), ws.nvars);
            if (h < best || t == 0) {
                core::copy_matrix(ws.trial_prototypes, ws.prototypes);
                best = h;
            }
        }
    }
}

template <bool PLAIN>
void map_measures(benchmark::State& state) {
    core::Workspace& ws = bench_workspace(64, 4, 9);
    std::vector<std::int32_t> counts(static_cast<std::size_t>(ws.nprotos));
    for (auto _ : state) {
        if constexpr (PLAIN) {
            benchmark::DoNotOptimize(
                core::plain::compute_violations(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence, counts));
            benchmark::DoNotOptimize(
                core::plain::compute_simplicity(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence));
        } else {
            benchmark::DoNotOptimize(
                core::compute_violations(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence, counts));
            benchmark::DoNotOptimize(
                core::compute_simplicity(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence));
        }
    }
}

// Real time: the fast passes run on several threads.
BENCHMARK(assign_winners_and_heterogeneity)->Apply(data_shapes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(assign_winners_and_heterogeneity_plain)
    ->Apply(data_shapes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(pick_trial)->Apply(data_shapes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pick_trial_plain)->Apply(data_shapes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pick_100_trials)
    ->ArgName("clustered")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(pick_100_trials_plain)
    ->ArgName("clustered")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(map_measures<false>)->Name("violations_and_simplicity_4x9")->Unit(benchmark::kMicrosecond);
BENCHMARK(map_measures<true>)->Name("violations_and_simplicity_4x9_plain")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltra::bench
