#pragma once

#include <cstdint>

#include "algorithms/som_training.h"
#include "core/workspace.h"

// The SOM epoch as straight loops on the rows. It defines the result of
// train_epoch: the fast epoch must leave exactly these prototype bits, win
// flags and generator state. Kept for the fallback, the equality tests and the
// benchmarks.
namespace veltra::algorithms::plain {

// The presentations of one epoch, which train_epoch makes after seeding the
// generator: ndata times, r := draw_random() mod ndata; w := the plain winner
// of datavector r against the prototypes as they are now; win_counts[w] := 1;
// move_toward w by the learning rate, then, in ascending order, every j with
// 1 <= incidence[w][j] <= the order by learning rate * update factor.
// Returns ndata.
std::int32_t present_epoch(core::Workspace& ws, const TrainingSchedule& stage);

}  // namespace veltra::algorithms::plain
