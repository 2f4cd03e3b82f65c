#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace veltra::ui {

// The numbers the map views show, one per prototype (index p is map row
// p / cols, column p % cols), computed from the current prototypes.

// The winner of every datavector (0-based), by the workspace's kernels: the
// bits of the plain winner rule.
std::vector<std::int32_t> current_winners(core::Workspace& ws);

// How many datavectors each prototype wins.
std::vector<std::int32_t> hit_counts(core::Workspace& ws);

// For each prototype, the mean Euclidean distance (the square root of
// squared_distance) to the prototypes at grid distance 1, summed in index
// order; 0 for a prototype without neighbours (a 1 x 1 map).
std::vector<double> u_matrix_values(const core::Workspace& ws);

// Every prototype's value of variable v (0-based), in the units of the file
// the data came from.
std::vector<double> component_values(const core::Workspace& ws, std::int32_t v);

// The most frequent label among the datavectors a prototype wins (a tie goes
// to the label seen first), with its share of those datavectors (0..1).
// A prototype that wins nothing, or data without labels, gives an empty
// label and share 0.
struct LabelCell {
    std::string label;
    double share = 0.0;
    friend bool operator==(const LabelCell&, const LabelCell&) = default;
};
std::vector<LabelCell> label_cells(core::Workspace& ws);

}  // namespace veltra::ui
