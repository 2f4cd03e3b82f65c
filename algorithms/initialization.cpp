#include "algorithms/initialization.h"

#include <algorithm>
#include <array>
#include <limits>

namespace veltra::algorithms {

namespace {

// Exact equality of all nvars values, compared from variable 0 up and
// abandoned at the first difference. A NaN equals nothing.
bool same_values(const double* a, const double* b, std::int32_t nvars) {
    for (std::int32_t v = 0; v < nvars; ++v) {
        if (a[v] != b[v]) return false;
    }
    return true;
}

// Whether any of rows 0..count-1 of `rows` equals `vector` in value.
bool matches_any(const core::Matrix& rows, std::int32_t count, const double* vector, std::int32_t nvars) {
    for (std::int32_t i = 0; i < count; ++i) {
        if (same_values(rows[i], vector, nvars)) return true;
    }
    return false;
}

}  // namespace

void init_random_weights(core::Workspace& ws, double upper, double lower) {
    ws.random.seed_random_from_clock();
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        for (std::int32_t v = 0; v < ws.nvars; ++v) {
            const int k = ws.random.draw_random() % 101;
            ws.prototypes[p][v] = (k / 100.0) * (upper - lower) + lower;
        }
    }
}

void pick_random_datapoints(core::Workspace& ws) {
    // Terminates when count_distinct_datavectors(ws, nprotos) == nprotos: each
    // earlier pick equals at most one of those distinct datavectors, so one of
    // them is always free, and the generator's full period of 2^32 states
    // yields every value 0..32767, hence every index below ndata.
    std::int32_t i = 0;
    while (i < ws.nprotos) {
        const std::int32_t d = ws.random.draw_random() % ws.ndata;
        if (matches_any(ws.trial_prototypes, i, ws.data[d], ws.nvars)) continue;
        for (std::int32_t v = 0; v < ws.nvars; ++v) ws.trial_prototypes[i][v] = ws.data[d][v];
        ++i;
    }
}

std::int32_t count_distinct_datavectors(const core::Workspace& ws, std::int32_t enough) {
    // Indices of the distinct datavectors found so far: a datavector equal to
    // an earlier one equals one of these, since equality is transitive.
    std::array<std::int32_t, core::MAX_PROTOTYPES> distinct{};
    std::int32_t found = 0;
    const std::int32_t limit = std::min(enough, core::MAX_PROTOTYPES);
    for (std::int32_t i = 0; i < ws.ndata && found < limit; ++i) {
        bool seen = false;
        for (std::int32_t f = 0; f < found && !seen; ++f) {
            seen = same_values(ws.data[distinct[f]], ws.data[i], ws.nvars);
        }
        if (!seen) distinct[found++] = i;
    }
    return found;
}

void begin_trial_series(TrialSeries& series) {
    series.trial_counter = 0;
    series.best_heterogeneity = 0.0;
}

PickResult run_pick_trials(core::Workspace& ws, TrialSeries& series, std::int32_t count,
                           const AdoptedTrialObserver& on_adopted) {
    if (count_distinct_datavectors(ws, ws.nprotos) < ws.nprotos) return PickResult::too_few_distinct;
    const core::StreamRun run(ws.random, core::RandomStream::pick_trials);
    // The data stay as they are through the run.
    struct Trials {
        core::PrototypeKernels& kernels;
        ~Trials() { kernels.end_trials(); }
    } trials{ws.kernels};
    if (count > 2) ws.kernels.begin_trials(ws.data, ws.ndata, ws.nvars);
    for (std::int32_t t = 0; t < count; ++t) {
        // Saturates rather than overflow after 2^31 - 1 trials in one series.
        if (series.trial_counter < std::numeric_limits<std::int32_t>::max()) ++series.trial_counter;
        pick_random_datapoints(ws);
        // A trial that cannot be adopted may stop early, except the last,
        // whose winners the workspace keeps.
        const bool first = series.trial_counter == 1;
        const double limit =
            first || t == count - 1 ? std::numeric_limits<double>::infinity() : series.best_heterogeneity;
        const double h = ws.kernels.assign_winners_and_heterogeneity_below(
            ws.data, ws.ndata, ws.trial_prototypes, ws.nprotos, ws.nvars, ws.winners.span(), limit);
        if (h < series.best_heterogeneity || first) {
            core::copy_matrix(ws.trial_prototypes, ws.prototypes);
            series.best_heterogeneity = h;
            if (on_adopted) on_adopted(series.trial_counter, h);
        }
    }
    return PickResult::ok;
}

}  // namespace veltra::algorithms
