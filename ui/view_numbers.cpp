#include "ui/view_numbers.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "core/measures.h"

namespace veltra::ui {

std::vector<std::int32_t> current_winners(core::Workspace& ws) {
    std::vector<std::int32_t> winners(static_cast<std::size_t>(std::max(ws.ndata, 0)));
    if (ws.nprotos > 0) {
        ws.kernels.assign_winners(ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, winners);
    }
    return winners;
}

std::vector<std::int32_t> hit_counts(core::Workspace& ws) {
    std::vector<std::int32_t> counts(static_cast<std::size_t>(std::max(ws.nprotos, 0)), 0);
    for (const std::int32_t winner : current_winners(ws)) ++counts[static_cast<std::size_t>(winner)];
    return counts;
}

std::vector<double> u_matrix_values(const core::Workspace& ws) {
    std::vector<double> values(static_cast<std::size_t>(std::max(ws.nprotos, 0)), 0.0);
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        double sum = 0.0;
        int neighbours = 0;
        for (std::int32_t q = 0; q < ws.nprotos; ++q) {
            if (ws.incidence[p][q] != 1) continue;
            sum += std::sqrt(core::squared_distance(ws.prototypes[p], ws.prototypes[q], ws.nvars));
            ++neighbours;
        }
        if (neighbours > 0) values[static_cast<std::size_t>(p)] = sum / neighbours;
    }
    return values;
}

std::vector<double> component_values(const core::Workspace& ws, std::int32_t v) {
    std::vector<double> values;
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        values.push_back(core::original_value(ws.annotations, v, ws.prototypes[p][v]));
    }
    return values;
}

std::vector<LabelCell> label_cells(core::Workspace& ws) {
    std::vector<LabelCell> cells(static_cast<std::size_t>(std::max(ws.nprotos, 0)));
    const std::vector<std::string>& labels = ws.annotations.labels;
    if (labels.size() != static_cast<std::size_t>(ws.ndata)) return cells;
    struct Tally {
        std::int32_t count = 0;
        std::int32_t first_seen = 0;
    };
    std::vector<std::unordered_map<std::string_view, Tally>> tallies(cells.size());
    std::vector<std::int32_t> wins(cells.size(), 0);
    const std::vector<std::int32_t> winners = current_winners(ws);
    for (std::int32_t i = 0; i < ws.ndata; ++i) {
        const auto p = static_cast<std::size_t>(winners[static_cast<std::size_t>(i)]);
        Tally& tally = tallies[p].try_emplace(labels[static_cast<std::size_t>(i)], Tally{0, i}).first->second;
        ++tally.count;
        ++wins[p];
    }
    for (std::size_t p = 0; p < cells.size(); ++p) {
        const std::pair<const std::string_view, Tally>* best = nullptr;
        for (const auto& entry : tallies[p]) {
            if (best == nullptr || entry.second.count > best->second.count ||
                (entry.second.count == best->second.count &&
                 entry.second.first_seen < best->second.first_seen))
                best = &entry;
        }
        if (best == nullptr) continue;
        cells[p] = {std::string(best->first), static_cast<double>(best->second.count) / wins[p]};
    }
    return cells;
}

}  // namespace veltra::ui
