#pragma once

#include <cstdint>

#include "core/workspace.h"

namespace veltra::algorithms {

// The counters of one opening of the pairwise dialog.
struct ExchangeSeries {
    std::int32_t total_changes = 0;
    std::int32_t successful = 0;
};

// Exchanges all values of prototype rows a and b.
void swap_prototypes(core::Workspace& ws, std::int32_t a, std::int32_t b);

// Seeds the generator, then `count` times (1..9999) swaps two random distinct
// prototypes and undoes the swap when the simplicity rose; a swap that leaves
// it equal (or not comparable, NaN) stays. Returns how many swaps lowered the
// simplicity strictly. A 1 x 1 map returns 0 at once, without seeding.
std::int32_t exchange_prototype_pairs(core::Workspace& ws, std::int32_t count);

}  // namespace veltra::algorithms
