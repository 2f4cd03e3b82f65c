#include "algorithms/pairwise_exchange.h"

#include <utility>

#include "core/measures.h"

namespace veltra::algorithms {

void swap_prototypes(core::Workspace& ws, std::int32_t a, std::int32_t b) {
    for (std::int32_t v = 0; v < ws.nvars; ++v) std::swap(ws.prototypes[a][v], ws.prototypes[b][v]);
}

std::int32_t exchange_prototype_pairs(core::Workspace& ws, std::int32_t count) {
    // No two distinct positions to exchange: return before seeding, so that
    // nothing at all changes.
    if (ws.nprotos < 2) return 0;
    const core::StreamRun run(ws.random, core::RandomStream::pairwise_exchange);
    std::int32_t failures = 0;
    for (std::int32_t n = 0; n < count; ++n) {
        const std::int32_t a = ws.random.draw_random() % ws.nprotos;
        std::int32_t b = ws.random.draw_random() % ws.nprotos;
        while (b == a) b = ws.random.draw_random() % ws.nprotos;
        const double before = core::compute_simplicity(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence);
        swap_prototypes(ws, a, b);
        const double after = core::compute_simplicity(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence);
        if (after < before) continue;
        if (after > before) swap_prototypes(ws, a, b);
        ++failures;
    }
    return count - failures;
}

}  // namespace veltra::algorithms
