#include "ui/pairwise_dialog.h"

#include <algorithm>
#include <limits>

#include "core/measures.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 14;
constexpr std::int32_t COUNT_MAX = 9999;

// Counters stop at the largest 32-bit value instead of wrapping.
std::int32_t saturating_add(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{a} + b, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

const DialogTemplate& PairwiseDialog::dialog_template() const { return PAIRWISE; }

void PairwiseDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    ws_.availability.raise(core::AvailabilityEvent::begin_exchange);
    show_simplicity(host);
    series_ = {};
    host.set_focus(PAIRWISE_COUNT);
}

void PairwiseDialog::on_command(DialogHost& host, int id) {
    switch (id) {
        case PAIRWISE_COUNT_DOWN:
            step_integer_field(host, PAIRWISE_COUNT, FIELD_LIMIT, -1, 1, COUNT_MAX);
            break;
        case PAIRWISE_COUNT_UP:
            step_integer_field(host, PAIRWISE_COUNT, FIELD_LIMIT, +1, 1, COUNT_MAX);
            break;
        default:
            handle_dialog_buttons(host, shell_, id, "pairwise exchange", [&] { calculate(host); });
            break;
    }
}

double PairwiseDialog::show_simplicity(DialogHost& host) {
    const double simplicity = core::compute_simplicity(ws_.prototypes, ws_.nprotos, ws_.nvars, ws_.incidence);
    host.set_item_text(PAIRWISE_SIMPLICITY, format_real("%15.2f", simplicity));
    return simplicity;
}

void PairwiseDialog::calculate(DialogHost& host) {
    const std::int32_t count = read_integer_field(host, PAIRWISE_COUNT, FIELD_LIMIT);
    if (count > COUNT_MAX || count < 1) {
        invalid_input(host, "# of changes must be in the range [1,9999]!");
        return;
    }
    host.begin_wait_cursor();
    const std::int32_t successful = algorithms::exchange_prototype_pairs(ws_, count);
    series_.successful = saturating_add(series_.successful, successful);
    write_integer_field(host, PAIRWISE_SUCCESSFUL, series_.successful);
    series_.total_changes = saturating_add(series_.total_changes, count);
    write_integer_field(host, PAIRWISE_TOTAL, series_.total_changes);
    const double simplicity = show_simplicity(host);
    host.end_wait_cursor();
    shell_.observer().pairwise_done(series_.total_changes, series_.successful, simplicity);
    information_box(host, "Pairwise exchange done.", "Pairwise Exchange");
}

}  // namespace veltra::ui
