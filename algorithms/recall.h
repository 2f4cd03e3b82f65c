#pragma once

#include <cstdint>
#include <string>

#include "core/workspace.h"

namespace veltra::algorithms {

// Both recalls assign every datavector first, then use those numbered start,
// start + cycle, ... up to ndata (1-based; start and cycle from 1 to 32767,
// a start above ndata selects none, a start or cycle below 1 writes nothing
// and returns false). They return the writer's result; the winner list (and
// the win counts for frequency, zero when nothing is selected) stay updated
// either way.

// Counts the wins of the selected datavectors per prototype into win_counts
// and writes them cols to a line.
[[nodiscard]] bool recall_frequency(core::Workspace& ws, const std::string& path, std::int32_t start,
                                    std::int32_t cycle);

// Writes the 1-based number and winner of each selected datavector.
[[nodiscard]] bool recall_assignment(core::Workspace& ws, const std::string& path, std::int32_t start,
                                     std::int32_t cycle);

}  // namespace veltra::algorithms
