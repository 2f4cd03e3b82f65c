#pragma once

#include <cstdint>
#include <functional>

#include "core/workspace.h"

namespace veltra::algorithms {

// Every prototype value := (k / 100.0) * (upper - lower) + lower with k a draw
// mod 101, prototype by prototype, variable by variable. Seeds the generator
// first. Expects lower < upper.
void init_random_weights(core::Workspace& ws, double upper, double lower);

// Fills the trial prototype matrix with nprotos datavectors that differ
// pairwise in value, in the order drawn. Does not seed. Expects at least
// nprotos distinct datavectors (see count_distinct_datavectors).
void pick_random_datapoints(core::Workspace& ws);

// The number of datavectors that differ in value from every earlier one,
// counted up to `enough` at most (an `enough` above MAX_PROTOTYPES counts as
// MAX_PROTOTYPES). Equality is exact, variable by variable, as in the pick; a
// datavector holding a NaN differs from every other.
std::int32_t count_distinct_datavectors(const core::Workspace& ws, std::int32_t enough);

// The state of one opening of the pick dialog: trials run so far (held at
// the int32 maximum rather than overflowing) and the heterogeneity of the
// trial last adopted.
struct TrialSeries {
    std::int32_t trial_counter = 0;
    double best_heterogeneity = 0.0;
};

void begin_trial_series(TrialSeries& series);

enum class PickResult { ok, too_few_distinct };

// Runs `count` trials (1..9999) after seeding once; a trial is adopted (copied
// into the prototype matrix, on_adopted called with its number and
// heterogeneity) when it is the series' first or strictly better than the
// best. Refuses before any trial, changing nothing, when fewer than nprotos
// datavectors differ in value.
using AdoptedTrialObserver = std::function<void(std::int32_t trial, double heterogeneity)>;
[[nodiscard]] PickResult run_pick_trials(core::Workspace& ws, TrialSeries& series, std::int32_t count,
                                         const AdoptedTrialObserver& on_adopted);

}  // namespace veltra::algorithms
