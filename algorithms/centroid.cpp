#include "algorithms/centroid.h"

#include <array>

namespace veltra::algorithms {

void centroid_step(const core::Matrix& data, std::int32_t ndata, core::Matrix& prototypes,
                   std::int32_t nprotos, std::int32_t nvars, std::span<const std::int32_t> winners) {
    std::array<std::int32_t, core::MAX_PROTOTYPES> counts{};
    for (std::int32_t p = 0; p < nprotos; ++p) {
        for (std::int32_t v = 0; v < nvars; ++v) prototypes[p][v] = 0.0;
    }
    for (std::int32_t i = 0; i < ndata; ++i) {
        const std::int32_t w = winners[i];
        ++counts[w];
        for (std::int32_t v = 0; v < nvars; ++v) prototypes[w][v] += data[i][v];
    }
    for (std::int32_t p = 0; p < nprotos; ++p) {
        if (counts[p] == 0) continue;
        for (std::int32_t v = 0; v < nvars; ++v) prototypes[p][v] /= counts[p];
    }
}

double converge_to_centroid(core::Workspace& ws, const ConvergenceObserver& observer) {
    const auto winners = ws.winners.span();
    double h = ws.kernels.assign_winners_and_heterogeneity(ws.data, ws.ndata, ws.prototypes, ws.nprotos,
                                                           ws.nvars, winners);
    double h_previous = 0.0;
    // Ends: every step that goes on lowers h by more than the epsilon, and h
    // is never negative; a NaN or infinite h compares false and stops it.
    do {
        h_previous = h;
        centroid_step(ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, winners);
        h = ws.kernels.assign_winners_and_heterogeneity(ws.data, ws.ndata, ws.prototypes, ws.nprotos,
                                                        ws.nvars, winners);
        if (observer) observer(h);
    } while (h_previous - h > CONVERGENCE_EPSILON);
    return h;
}

}  // namespace veltra::algorithms
