#include "bench_workspace.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <tuple>

#include "algorithms/initialization.h"
#include "core/map_shape.h"

namespace veltra::bench {

core::FixedClock& bench_clock() {
    static core::FixedClock clock(1'000'000);
    return clock;
}

core::Workspace& bench_workspace(std::int32_t nvars, std::int32_t rows, std::int32_t cols) {
    static std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t>, std::unique_ptr<core::Workspace>>
        kept;
    auto& ws = kept[{nvars, rows, cols}];
    if (ws) return *ws;
    ws = std::make_unique<core::Workspace>(bench_clock());
    ws->ndata = NDATA;
    ws->nvars = nvars;
    auto data = core::alloc_matrix(ws->heap, NDATA, nvars);
    if (!data) std::abort();
    ws->data = std::move(*data);
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> value(0.0, 100.0);
    for (std::int32_t i = 0; i < NDATA; ++i) {
        for (std::int32_t k = 0; k < nvars; ++k) ws->data[i][k] = value(random);
    }
    if (core::set_map_shape(*ws, rows, cols) != core::MapShapeResult::ok) std::abort();
    algorithms::TrialSeries series;
    algorithms::begin_trial_series(series);
    if (algorithms::run_pick_trials(*ws, series, 1, {}) != algorithms::PickResult::ok) std::abort();
    return *ws;
}

}  // namespace veltra::bench
