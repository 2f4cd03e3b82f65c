#include "bench_workspace.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "algorithms/initialization.h"
#include "core/map_shape.h"

namespace veltra::bench {

void data_shapes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"nvars", "clustered"})->ArgsProduct({{64, 1024}, {0, 1}});
}

core::FixedClock& bench_clock() {
    static core::FixedClock clock(1'000'000);
    return clock;
}

core::Workspace& bench_workspace(std::int32_t nvars, std::int32_t rows, std::int32_t cols, DataKind kind,
                                 std::int32_t ndata) {
    using Key = std::tuple<std::int32_t, std::int32_t, std::int32_t, DataKind, std::int32_t>;
    static std::map<Key, std::unique_ptr<core::Workspace>> kept;
    auto& ws = kept[{nvars, rows, cols, kind, ndata}];
    if (ws) return *ws;
    ws = std::make_unique<core::Workspace>(bench_clock());
    ws->ndata = ndata;
    ws->nvars = nvars;
    auto data = core::alloc_matrix(ws->heap, ndata, nvars);
    if (!data) std::abort();
    ws->data = std::move(*data);
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> value(0.0, 100.0);
    std::normal_distribution<double> noise(0.0, 5.0);
    constexpr std::int32_t CENTRES = 36;
    std::vector<double> centres(static_cast<std::size_t>(CENTRES * nvars));
    for (double& c : centres) c = value(random);
    std::uniform_int_distribution<std::int32_t> centre(0, CENTRES - 1);
    for (std::int32_t i = 0; i < ndata; ++i) {
        if (kind == DataKind::uniform) {
            for (std::int32_t k = 0; k < nvars; ++k) ws->data[i][k] = value(random);
            continue;
        }
        const double* c = centres.data() + static_cast<std::ptrdiff_t>(centre(random)) * nvars;
        for (std::int32_t k = 0; k < nvars; ++k) ws->data[i][k] = c[k] + noise(random);
    }
    if (core::set_map_shape(*ws, rows, cols) != core::MapShapeResult::ok) std::abort();
    algorithms::TrialSeries series;
    algorithms::begin_trial_series(series);
    if (algorithms::run_pick_trials(*ws, series, 1, {}) != algorithms::PickResult::ok) std::abort();
    return *ws;
}

}  // namespace veltra::bench
