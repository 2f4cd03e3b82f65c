#include "ui/grid_panel.h"

#include <algorithm>
#include <cstdio>

#include "ui/color_scale.h"

namespace veltra::ui {

namespace {

constexpr int MARGIN = 4;
constexpr int LEGEND_BAR = 10;
constexpr int LEGEND_STEPS = 32;
constexpr int LEGEND_MIN_WIDTH = 120;

void add_text(DisplayList& list, std::string text, Color color, int x, int y) {
    if (!text.empty()) list.push_back(TextItem{std::move(text), color, x, y, false});
}

void add_cross(DisplayList& list, Color color, int x, int y, int size) {
    list.push_back(LineItem{color, 1, x, y, x + size - 1, y + size - 1});
    list.push_back(LineItem{color, 1, x + size - 1, y, x, y + size - 1});
}

void draw_cell(const GridCell& cell, int x, int y, int size, const TextMeasurer& measurer,
               DisplayList& list) {
    list.push_back(RectItem{cell.fill, x, y, size, size});
    const Color ink = text_color_on(cell.fill);
    if (cell.crossed) add_cross(list, ink, x, y, size);
    const int line = measurer.line_height();
    std::size_t shown = cell.lines.size();
    while (shown > 0 && static_cast<int>(shown) * line > size - 2) --shown;
    const int top = y + (size - static_cast<int>(shown) * line) / 2;
    for (std::size_t i = 0; i < shown; ++i) {
        const int width = measurer.text_width(cell.lines[i]);
        if (width > size - 2) continue;
        add_text(list, cell.lines[i], ink, x + (size - width) / 2, top + static_cast<int>(i) * line);
    }
}

// A small square of `color` followed by its text, in the legend's rows.
int swatch_width(const Swatch& swatch, const TextMeasurer& measurer) {
    return measurer.line_height() + 2 + measurer.text_width(swatch.name) + 2 * MARGIN;
}

// The swatches flowed into rows of the legend's width: the row of each.
std::vector<int> swatch_rows(const std::vector<Swatch>& swatches, int width, const TextMeasurer& measurer) {
    std::vector<int> rows;
    int row = 0;
    int used = 0;
    for (const Swatch& swatch : swatches) {
        const int w = swatch_width(swatch, measurer);
        if (used > 0 && used + w > width) {
            ++row;
            used = 0;
        }
        rows.push_back(row);
        used += w;
    }
    return rows;
}

void draw_swatch(DisplayList& list, Color color, bool crossed, int x, int y, int line) {
    list.push_back(RectItem{color, x, y + 1, line - 2, line - 2});
    if (crossed) add_cross(list, BLACK, x, y + 1, line - 2);
}

int legend_height(const GridPanel& panel, int width, const TextMeasurer& measurer) {
    const int line = measurer.line_height();
    const int note = panel.crossed_note.empty() ? 0 : line + 2;
    if (panel.swatches.empty()) return LEGEND_BAR + 1 + line + note;
    return (swatch_rows(panel.swatches, width, measurer).back() + 1) * line + note;
}

// The scale as a bar of steps with its ends written under it, or the
// swatches; the crossed cell's note below.
void draw_legend(const GridPanel& panel, Box box, const TextMeasurer& measurer, DisplayList& list) {
    const int line = measurer.line_height();
    if (!panel.swatches.empty()) {
        const std::vector<int> rows = swatch_rows(panel.swatches, box.width, measurer);
        int x = box.x;
        for (std::size_t i = 0; i < panel.swatches.size(); ++i) {
            if (i > 0 && rows[i] != rows[i - 1]) x = box.x;
            const Swatch& swatch = panel.swatches[i];
            const int y = box.y + rows[i] * line;
            draw_swatch(list, swatch.color, false, x, y, line);
            add_text(list, fitted_text(swatch.name, box.width - line - 2, measurer), BLACK, x + line + 2, y);
            x += swatch_width(swatch, measurer);
        }
        if (!panel.crossed_note.empty()) {
            const int note = box.y + (rows.back() + 1) * line + 2;
            draw_swatch(list, NO_VALUE_GRAY, true, box.x, note, line);
            add_text(list, fitted_text(panel.crossed_note, box.width - line - 2, measurer), BLACK,
                     box.x + line + 2, note);
        }
        return;
    }
    for (int s = 0; s < LEGEND_STEPS; ++s) {
        const int left = box.x + box.width * s / LEGEND_STEPS;
        const int right = box.x + box.width * (s + 1) / LEGEND_STEPS;
        list.push_back(
            RectItem{scale_color((s + 0.5) / LEGEND_STEPS), left, box.y, right - left, LEGEND_BAR});
    }
    const int labels = box.y + LEGEND_BAR + 1;
    const std::string min = fitted_text(panel.legend_min, box.width / 2 - 2, measurer);
    const std::string max = fitted_text(panel.legend_max, box.width / 2 - 2, measurer);
    add_text(list, min, BLACK, box.x, labels);
    add_text(list, max, BLACK, box.x + box.width - measurer.text_width(max), labels);
    if (panel.crossed_note.empty()) return;
    const int note = labels + line + 2;
    draw_swatch(list, NO_VALUE_GRAY, true, box.x, note, line);
    add_text(list, fitted_text(panel.crossed_note, box.width - line - 2, measurer), BLACK, box.x + line + 2,
             note);
}

}  // namespace

std::string fitted_text(const std::string& text, int width, const TextMeasurer& measurer) {
    if (measurer.text_width(text) <= width) return text;
    std::string cut = text;
    while (!cut.empty()) {
        cut.pop_back();
        if (measurer.text_width(cut + "...") <= width) return cut + "...";
    }
    return measurer.text_width("...") <= width ? "..." : "";
}

std::string short_number(double value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

void draw_grid_panel(const GridPanel& panel, Box box, const TextMeasurer& measurer, DisplayList& list) {
    const int line = measurer.line_height();
    if (panel.rows < 1 || panel.cols < 1 || box.width <= 2 * MARGIN || box.height < 2 * MARGIN + line) return;
    const Box inner{box.x + MARGIN, box.y + MARGIN, box.width - 2 * MARGIN, box.height - 2 * MARGIN};
    add_text(list, fitted_text(panel.title, inner.width, measurer), BLACK, inner.x, inner.y);

    const int legend_width = std::min(inner.width, std::max(inner.width / 2, LEGEND_MIN_WIDTH));
    const int legend_lines = legend_height(panel, legend_width, measurer);
    const int grid_top = inner.y + line + MARGIN;
    const int grid_height = inner.height - line - MARGIN - legend_lines - MARGIN;
    const int cell = std::min(inner.width / panel.cols, grid_height / panel.rows);
    if (cell < 1) return;
    const int grid_width = cell * panel.cols;
    const int grid_left = inner.x + (inner.width - grid_width) / 2;
    for (std::int32_t p = 0; p < panel.rows * panel.cols && p < static_cast<std::int32_t>(panel.cells.size());
         ++p) {
        // A white pixel between neighbouring cells.
        draw_cell(panel.cells[static_cast<std::size_t>(p)], grid_left + p % panel.cols * cell + 1,
                  grid_top + p / panel.cols * cell + 1, cell - 1, measurer, list);
    }

    // The scale's bar spans the grid (or the least width that reads well).
    const int width =
        panel.swatches.empty() ? std::min(inner.width, std::max(grid_width, LEGEND_MIN_WIDTH)) : legend_width;
    const Box legend{inner.x + (inner.width - width) / 2, grid_top + cell * panel.rows + MARGIN, width,
                     legend_lines};
    draw_legend(panel, legend, measurer, list);
}

}  // namespace veltra::ui
