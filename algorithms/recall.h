#pragma once

#include <cstdint>
#include <string>

#include "core/workspace.h"

namespace veltra::algorithms {

// Both recalls assign every datavector first, then use those numbered start,
// start + cycle, ... up to ndata (1-based). They return the writer's result;
// the winner list (and the win counts for frequency) stay updated either way.

// Counts the wins of the selected datavectors per prototype into win_counts
// and writes them cols to a line.
[[nodiscard]] bool recall_frequency(core::Workspace& ws, const std::string& path, std::int32_t start,
                                    std::int32_t cycle);

// Writes the 1-based number and winner of each selected datavector.
[[nodiscard]] bool recall_assignment(core::Workspace& ws, const std::string& path, std::int32_t start,
                                     std::int32_t cycle);

}  // namespace veltra::algorithms
