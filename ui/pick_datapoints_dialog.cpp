#include "ui/pick_datapoints_dialog.h"

#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 14;
constexpr std::int32_t COUNT_MAX = 9999;

}  // namespace

const DialogTemplate& PickDatapointsDialog::dialog_template() const { return TRIALS; }

void PickDatapointsDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    ws_.availability.raise(core::AvailabilityEvent::begin_initialization);
    algorithms::begin_trial_series(series_);
    host.set_focus(TRIALS_COUNT);
}

void PickDatapointsDialog::on_command(DialogHost& host, int id) {
    switch (id) {
        case TRIALS_COUNT_DOWN:
            step_integer_field(host, TRIALS_COUNT, FIELD_LIMIT, -1, 1, COUNT_MAX);
            break;
        case TRIALS_COUNT_UP:
            step_integer_field(host, TRIALS_COUNT, FIELD_LIMIT, +1, 1, COUNT_MAX);
            break;
        default:
            handle_dialog_buttons(host, shell_, id, "pick datapoints", [&] { calculate(host); });
            break;
    }
}

void PickDatapointsDialog::calculate(DialogHost& host) {
    const std::int32_t count = read_integer_field(host, TRIALS_COUNT, FIELD_LIMIT);
    if (count > COUNT_MAX || count < 1) {
        invalid_input(host, "# of trials must be in the range [1,9999]!");
        return;
    }
    host.begin_wait_cursor();
    const algorithms::PickResult result =
        algorithms::run_pick_trials(ws_, series_, count, [&](std::int32_t trial, double heterogeneity) {
            write_integer_field(host, TRIALS_TRIAL, trial);
            host.set_item_text(TRIALS_HETEROGENEITY, format_real("%15.2f", heterogeneity));
            shell_.observer().trial_adopted(trial, heterogeneity);
        });
    host.end_wait_cursor();
    // With fewer distinct datavectors than prototypes no trial can fill the
    // map; the prototypes stay as they were.
    if (result == algorithms::PickResult::too_few_distinct) {
        warning_box(host, "Too few different datavectors for this map!", "Pick Datapoints");
        return;
    }
    ws_.availability.raise(core::AvailabilityEvent::prototypes_set);
    information_box(host, "Prototypes initialized.", "Pick Datapoints");
}

}  // namespace veltra::ui
