#include "ui/map_shape_dialog.h"

#include "core/map_shape.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr int ROWS = 105;
constexpr int COLS = 106;
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
    host.set_focus(ROWS);
}

void MapShapeDialog::on_command(DialogHost& host, int id) {
    switch (id) {
        case 107:
            step(host, ROWS, -1);
            break;
        case 108:
            step(host, ROWS, +1);
            break;
        case 109:
            step(host, COLS, -1);
            break;
        case 110:
            step(host, COLS, +1);
            break;
        default:
            handle_dialog_buttons(host, shell_, id, "size map", [&] { define_map(host); });
            break;
    }
}

// An arrow applies only when the new shape still has 1 to 36 prototypes.
void MapShapeDialog::step(DialogHost& host, int field, int direction) {
    const std::int64_t rows = read_integer_field(host, ROWS, FIELD_LIMIT);
    const std::int64_t cols = read_integer_field(host, COLS, FIELD_LIMIT);
    const std::int64_t value = (field == ROWS ? rows : cols) + direction;
    const std::int64_t other = field == ROWS ? cols : rows;
    if (product_in_range(value, other)) write_integer_field(host, field, value);
}

void MapShapeDialog::define_map(DialogHost& host) {
    const std::int32_t rows = read_integer_field(host, ROWS, FIELD_LIMIT);
    const std::int32_t cols = read_integer_field(host, COLS, FIELD_LIMIT);
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
