#include "algorithms/som_training_plain.h"

#include "core/measures_plain.h"

namespace veltra::algorithms::plain {

std::int32_t present_epoch(core::Workspace& ws, const TrainingSchedule& stage) {
    const double neighbour_rate = stage.learning_rate * stage.update_factor;
    for (std::int32_t n = 0; n < ws.ndata; ++n) {
        const std::int32_t r = ws.random.draw_random() % ws.ndata;
        const std::int32_t w = core::plain::find_winner(ws.prototypes, ws.nprotos, ws.data, r, ws.nvars);
        ws.win_counts[w] = 1;
        move_toward(ws.prototypes, w, ws.data, r, ws.nvars, stage.learning_rate);
        for (std::int32_t j = 0; j < ws.nprotos; ++j) {
            const int grid_distance = ws.incidence[w][j];
            if (grid_distance >= 1 && grid_distance <= stage.neighborhood_order)
                move_toward(ws.prototypes, j, ws.data, r, ws.nvars, neighbour_rate);
        }
    }
    return ws.ndata;
}

}  // namespace veltra::algorithms::plain
