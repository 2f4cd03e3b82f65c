#include "ui/map_views.h"

#include <algorithm>
#include <cmath>

#include "core/availability.h"
#include "ui/color_scale.h"
#include "ui/grid_panel.h"
#include "ui/view_numbers.h"

namespace veltra::ui {

namespace {

constexpr int MAX_CLIENT_SIZE = 1 << 24;
constexpr int PLANE_GAP = 4;

GridPanel empty_panel(const core::Workspace& ws, std::string title) {
    GridPanel panel;
    panel.title = std::move(title);
    panel.rows = ws.rows;
    panel.cols = ws.cols;
    return panel;
}

// Cells shaded by `values` from their smallest to their largest, each
// showing its value when `digits` > 0.
GridPanel shaded_panel(const core::Workspace& ws, std::string title, const std::vector<double>& values,
                       int digits) {
    GridPanel panel = empty_panel(ws, std::move(title));
    if (values.empty()) return panel;
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    for (const double value : values) {
        GridCell cell{scale_color(scale_position(value, *min, *max)), {}, false};
        if (digits > 0) cell.lines.push_back(short_number(value, digits));
        panel.cells.push_back(std::move(cell));
    }
    panel.legend_min = short_number(*min, 6);
    panel.legend_max = short_number(*max, 6);
    return panel;
}

GridPanel hit_map_panel(core::Workspace& ws) {
    const std::vector<std::int32_t> counts = hit_counts(ws);
    GridPanel panel = empty_panel(ws, "Hits of " + std::to_string(ws.ndata) + " datavectors");
    std::int32_t min = 0;
    std::int32_t max = 0;
    for (const std::int32_t count : counts) {
        if (count > 0 && (min == 0 || count < min)) min = count;
        max = std::max(max, count);
    }
    for (const std::int32_t count : counts) {
        const bool inactive = count == 0;
        const Color fill = inactive ? NO_VALUE_GRAY : scale_color(scale_position(count, min, max));
        panel.cells.push_back({fill, {std::to_string(count)}, inactive});
    }
    panel.legend_min = std::to_string(min);
    panel.legend_max = std::to_string(max);
    if (std::find(counts.begin(), counts.end(), 0) != counts.end()) panel.crossed_note = "inactive: no hits";
    return panel;
}

// Each label shown gets its own colour, spread evenly over the scale in the
// order of the prototypes.
GridPanel label_map_panel(core::Workspace& ws) {
    GridPanel panel = empty_panel(ws, "Most frequent label and its share");
    const std::vector<LabelCell> cells = label_cells(ws);
    const auto inactive = [](const LabelCell& cell) { return cell.label.empty() && cell.share == 0.0; };
    std::vector<std::string> shown;
    for (const LabelCell& cell : cells) {
        if (!inactive(cell) && std::find(shown.begin(), shown.end(), cell.label) == shown.end())
            shown.push_back(cell.label);
    }
    const auto color_of = [&](const std::string& label) {
        const auto index = std::find(shown.begin(), shown.end(), label) - shown.begin();
        return scale_color(
            shown.size() < 2 ? 0.5 : static_cast<double>(index) / static_cast<double>(shown.size() - 1));
    };
    for (const std::string& label : shown) panel.swatches.push_back({color_of(label), label});
    for (const LabelCell& cell : cells) {
        if (inactive(cell)) {
            panel.cells.push_back({NO_VALUE_GRAY, {}, true});
            panel.crossed_note = "inactive: no hits";
            continue;
        }
        const std::string percent = short_number(std::round(cell.share * 100.0), 3) + "%";
        panel.cells.push_back({color_of(cell.label), {cell.label, percent}, false});
    }
    return panel;
}

// One plane per variable, in as many columns as give the largest cells.
void draw_component_planes(core::Workspace& ws, Box area, const TextMeasurer& measurer, DisplayList& list) {
    const std::int32_t n = ws.nvars;
    if (n < 1) return;
    const int line = measurer.line_height();
    int best_columns = 1;
    int best_cell = -1;
    for (int columns = 1; columns <= n; ++columns) {
        const int rows = (n + columns - 1) / columns;
        // What a plane keeps for its cells: the title and legend take about
        // four lines and the margins.
        const int cell_width = (area.width / columns - PLANE_GAP) / ws.cols;
        const int cell_height = (area.height / rows - 4 * line - 30) / ws.rows;
        const int cell = std::min(cell_width, cell_height);
        if (cell > best_cell) {
            best_cell = cell;
            best_columns = columns;
        }
    }
    const int rows = (n + best_columns - 1) / best_columns;
    for (std::int32_t v = 0; v < n; ++v) {
        const Box box{area.x + area.width * (v % best_columns) / best_columns,
                      area.y + area.height * (v / best_columns) / rows, area.width / best_columns,
                      area.height / rows};
        draw_grid_panel(shaded_panel(ws, core::variable_name(ws.annotations, v), component_values(ws, v), 3),
                        box, measurer, list);
    }
}

std::string_view missing_note(ViewKind kind, const core::Workspace& ws) {
    if (!ws.availability.is_enabled(core::CMD_EXPORT_PROTOTYPES)) {
        return "No prototypes with values yet: initialize or import them.";
    }
    if (kind == ViewKind::label_map) return "No labels: import a table with a label column.";
    return "";
}

}  // namespace

std::string_view view_title(ViewKind kind) {
    switch (kind) {
        case ViewKind::hit_map:
            return "Hit Map";
        case ViewKind::u_matrix:
            return "U-Matrix";
        case ViewKind::component_planes:
            return "Component Planes";
        case ViewKind::label_map:
            return "Label Map";
        case ViewKind::measures_chart:
            return "Measures Chart";
    }
    return "";
}

std::string_view view_help_keyword(ViewKind kind) {
    switch (kind) {
        case ViewKind::hit_map:
            return "hit map";
        case ViewKind::u_matrix:
            return "u-matrix";
        case ViewKind::component_planes:
            return "component planes";
        case ViewKind::label_map:
            return "label map";
        case ViewKind::measures_chart:
            return "measures chart";
    }
    return "";
}

int view_command(ViewKind kind) {
    switch (kind) {
        case ViewKind::hit_map:
            return core::CMD_VIEW_HIT_MAP;
        case ViewKind::u_matrix:
            return core::CMD_VIEW_U_MATRIX;
        case ViewKind::component_planes:
            return core::CMD_VIEW_COMPONENT_PLANES;
        case ViewKind::label_map:
            return core::CMD_VIEW_LABEL_MAP;
        case ViewKind::measures_chart:
            return core::CMD_VIEW_MEASURES_CHART;
    }
    return 0;
}

DisplayList draw_view(ViewKind kind, core::Workspace& ws, const MeasuresHistory& history, int width,
                      int height, const TextMeasurer& measurer) {
    const Box area{0, 0, std::clamp(width, 0, MAX_CLIENT_SIZE), std::clamp(height, 0, MAX_CLIENT_SIZE)};
    DisplayList list;
    if (!ws.availability.is_enabled(view_command(kind))) {
        list.push_back(TextItem{fitted_text(std::string(missing_note(kind, ws)), area.width - 12, measurer),
                                BLACK, 6, 6, false});
        return list;
    }
    switch (kind) {
        case ViewKind::hit_map:
            draw_grid_panel(hit_map_panel(ws), area, measurer, list);
            break;
        case ViewKind::u_matrix:
            draw_grid_panel(shaded_panel(ws, "Mean distance to the neighbours", u_matrix_values(ws), 3), area,
                            measurer, list);
            break;
        case ViewKind::component_planes:
            draw_component_planes(ws, area, measurer, list);
            break;
        case ViewKind::label_map:
            draw_grid_panel(label_map_panel(ws), area, measurer, list);
            break;
        case ViewKind::measures_chart:
            return draw_measures_chart(history.epochs(), width, height, measurer);
    }
    return list;
}

}  // namespace veltra::ui
