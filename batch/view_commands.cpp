#include "batch/view_commands.h"

#include <cstdio>
#include <optional>
#include <string>

#include "ui/map_views.h"
#include "ui/shell.h"
#include "ui/view_numbers.h"

namespace veltra::batch {

namespace {

std::optional<ui::ViewKind> view_of(int command_id) {
    for (const ui::ViewKind kind : ui::ALL_VIEWS) {
        if (ui::view_command(kind) == command_id) return kind;
    }
    return std::nullopt;
}

std::string real(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace

bool is_view_command(int command_id) { return view_of(command_id).has_value(); }

void print_view_lines(int command_id, ui::Shell& shell, std::ostream& out) {
    core::Workspace& ws = shell.workspace();
    switch (view_of(command_id).value_or(ui::ViewKind::measures_chart)) {
        case ui::ViewKind::hit_map: {
            const std::vector<std::int32_t> counts = ui::hit_counts(ws);
            for (std::size_t p = 0; p < counts.size(); ++p)
                out << "hits\t" << p + 1 << '\t' << counts[p] << '\n';
            break;
        }
        case ui::ViewKind::u_matrix: {
            const std::vector<double> values = ui::u_matrix_values(ws);
            for (std::size_t p = 0; p < values.size(); ++p)
                out << "umatrix\t" << p + 1 << '\t' << real(values[p]) << '\n';
            break;
        }
        case ui::ViewKind::label_map: {
            const std::vector<ui::LabelCell> cells = ui::label_cells(ws);
            for (std::size_t p = 0; p < cells.size(); ++p)
                out << "label\t" << p + 1 << '\t' << cells[p].label << '\t' << real(cells[p].share) << '\n';
            break;
        }
        case ui::ViewKind::component_planes:
        case ui::ViewKind::measures_chart:
            break;
    }
}

ui::DisplayList picture_of(int command_id, ui::Shell& shell, int width, int height,
                           const ui::TextMeasurer& measurer) {
    if (const std::optional<ui::ViewKind> kind = view_of(command_id)) {
        return ui::draw_view(*kind, shell.workspace(), shell.session().measures, width, height, measurer);
    }
    return shell.paint(width, height, measurer).value_or(ui::DisplayList{});
}

}  // namespace veltra::batch
