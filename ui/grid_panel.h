#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/display_list.h"

namespace veltra::ui {

// A rectangle of the client area in pixels.
struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

// One cell of a map grid: its fill, the lines of text centred in it (each
// drawn only while the lines fit the cell), and whether it is crossed out as
// having no value on the scale.
struct GridCell {
    Color fill;
    std::vector<std::string> lines;
    bool crossed = false;
};

// A colour of a legend that names its categories.
struct Swatch {
    Color color;
    std::string name;
};

// A titled rows x cols grid of cells (row by row, as the prototypes lie on
// the map) over its legend: the colour scale from `legend_min` to
// `legend_max`, or the swatches when there are any; then a crossed gray
// cell explained by `crossed_note` when that is not empty.
struct GridPanel {
    std::string title;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::vector<GridCell> cells;
    std::string legend_min;
    std::string legend_max;
    std::vector<Swatch> swatches;
    std::string crossed_note;
};

// Draws the panel into `box`: the title on top, then square cells as large
// as fit, then the legend; texts that do not fit are shortened or left out,
// so that nothing is drawn outside the box.
void draw_grid_panel(const GridPanel& panel, Box box, const TextMeasurer& measurer, DisplayList& list);

// `text` cut short with "..." until it is at most `width` pixels wide; empty
// when not even "..." fits.
std::string fitted_text(const std::string& text, int width, const TextMeasurer& measurer);

// A number for a cell or a legend: %.*g with `digits` significant digits.
std::string short_number(double value, int digits);

}  // namespace veltra::ui
