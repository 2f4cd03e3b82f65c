#include "ui/map_shape_dialog.h"

#include "core/map_shape.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 8;
constexpr const char* RANGE_MESSAGE = "Rows * Cols must be in the range [1,36]!";

bool product_in_range(std::int64_t rows, std::int64_t cols) {
    const std::int64_t product = rows * cols;
    return product >= 1 && product <= core::MAX_PROTOTYPES;
}

}  // namespace

const DialogTemplate& MapShapeDialog::dialog_template() const { return MATRIXSIZE; }

void MapShapeDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    ws_.availability.raise(core::AvailabilityEvent::begin_map_shape);
    host.set_focus(MAP_ROWS);
}

void MapShapeDialog::on_command(DialogHost& host, int id) {
    switch (id) {
        case MAP_ROWS_DOWN:
            step(host, MAP_ROWS, -1);
            break;
        case MAP_ROWS_UP:
            step(host, MAP_ROWS, +1);
            break;
        case MAP_COLS_DOWN:
            step(host, MAP_COLS, -1);
            break;
        case MAP_COLS_UP:
            step(host, MAP_COLS, +1);
            break;
        default:
            handle_dialog_buttons(host, shell_, id, "size map", [&] { define_map(host); });
            break;
    }
}

// An arrow applies only when the new shape still has 1 to 36 prototypes.
void MapShapeDialog::step(DialogHost& host, int field, int direction) {
    const std::int64_t rows = read_integer_field(host, MAP_ROWS, FIELD_LIMIT);
    const std::int64_t cols = read_integer_field(host, MAP_COLS, FIELD_LIMIT);
    const std::int64_t value = (field == MAP_ROWS ? rows : cols) + direction;
    const std::int64_t other = field == MAP_ROWS ? cols : rows;
    if (product_in_range(value, other)) write_integer_field(host, field, value);
}

void MapShapeDialog::define_map(DialogHost& host) {
    const std::int32_t rows = read_integer_field(host, MAP_ROWS, FIELD_LIMIT);
    const std::int32_t cols = read_integer_field(host, MAP_COLS, FIELD_LIMIT);
    if (!product_in_range(rows, cols)) {
        invalid_input(host, RANGE_MESSAGE);
        return;
    }
    host.begin_wait_cursor();
    switch (core::set_map_shape(ws_, rows, cols)) {
        case core::MapShapeResult::ok:
            ws_.availability.raise(core::AvailabilityEvent::map_defined);
            host.end_wait_cursor();
            information_box(host, "Incidence matrix defined.", "Map Creation");
            host.end_dialog(1);
            break;
        case core::MapShapeResult::invalid_shape:
            // A pair of negative entries has a product in range; no map has them.
            host.end_wait_cursor();
            invalid_input(host, RANGE_MESSAGE);
            break;
        case core::MapShapeResult::out_of_memory:
            out_of_memory_box(host);
            host.end_wait_cursor();
            break;
    }
}

}  // namespace veltra::ui
