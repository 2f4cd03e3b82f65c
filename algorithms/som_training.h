#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/workspace.h"

namespace veltra::algorithms {

// The training schedule; lives as long as the program and keeps whatever the
// training dialog last read into it.
struct TrainingSchedule {
    std::int32_t epochs = 10;
    std::int32_t neighborhood_order = 1;
    double learning_rate = 0.01;
    double update_factor = 0.3;
};

// What the observer receives after each epoch.
struct EpochReport {
    std::int32_t epochs = 0;      // epochs_done after this epoch
    std::int64_t iterations = 0;  // ndata * epochs_done
    double heterogeneity = 0.0;
    double simplicity = 0.0;
    double combined = 0.0;
    double violations = 0.0;
    std::vector<std::int32_t> inactive_prototypes;  // 1-based, ascending
};

// Epochs trained since the program started, across all runs; never reset
// (held at the int32 maximum rather than overflowing).
struct TrainingProgress {
    std::int32_t epochs_done = 0;
};

// v := v + rate * (datavector r's value - v) for each of prototype p's values.
void move_toward(core::Matrix& prototypes, std::int32_t p, const core::Matrix& data, std::int32_t r,
                 std::int32_t nvars, double rate) noexcept;

// One epoch of the stage on the workspace's prototypes: seeds the generator,
// then ndata random presentations, each moving the winner by learning_rate
// and its neighbours up to the order by learning_rate * update_factor; flags
// every winner in win_counts. The result has the bits of
// plain::present_epoch after the same seeding. Returns ndata.
std::int32_t train_epoch(core::Workspace& ws, const TrainingSchedule& stage);

// Runs schedule.epochs epochs on the workspace, re-measuring the map and
// calling the observer after each; the run ends early, keeping the epochs
// done, when the observer returns false.
using TrainingObserver = std::function<bool(const EpochReport&)>;
void train_som(core::Workspace& ws, TrainingProgress& progress, const TrainingSchedule& schedule,
               const TrainingObserver& observer);

}  // namespace veltra::algorithms
