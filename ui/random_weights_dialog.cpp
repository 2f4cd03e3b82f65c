#include "ui/random_weights_dialog.h"

#include <cmath>

#include "algorithms/initialization.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 12;

}  // namespace

const DialogTemplate& RandomWeightsDialog::dialog_template() const { return RANDOMWEIGHTS; }

void RandomWeightsDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    ws_.availability.raise(core::AvailabilityEvent::begin_initialization);
    host.set_focus(WEIGHTS_UPPER);
}

void RandomWeightsDialog::on_command(DialogHost& host, int id) {
    handle_dialog_buttons(host, shell_, id, "random weights", [&] { calculate(host); });
}

void RandomWeightsDialog::calculate(DialogHost& host) {
    const double upper = read_real_field(host, WEIGHTS_UPPER, FIELD_LIMIT);
    const double lower = read_real_field(host, WEIGHTS_LOWER, FIELD_LIMIT);
    if (lower >= upper) {
        invalid_input(host, "Upper limit > lower limit required!");
        return;
    }
    // Limits beyond the double range, or so far apart that their difference
    // is, would fill the prototypes with infinities and NaNs.
    if (!std::isfinite(upper - lower)) {
        invalid_input(host, "Limits must be finite numbers!");
        return;
    }
    host.begin_wait_cursor();
    algorithms::init_random_weights(ws_, upper, lower);
    ws_.availability.raise(core::AvailabilityEvent::prototypes_set);
    host.end_wait_cursor();
    information_box(host, "Prototypes initialized.", "Random Weights");
    host.end_dialog(1);
}

}  // namespace veltra::ui
