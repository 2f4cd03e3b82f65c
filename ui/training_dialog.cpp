#include "ui/training_dialog.h"

#include <algorithm>
#include <cstdio>

#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 126;
constexpr std::int32_t EPOCHS_MAX = 999;

std::string inactive_text(const std::vector<std::int32_t>& prototypes) {
    std::string text;
    for (const std::int32_t p : prototypes) {
        char cell[16];
        std::snprintf(cell, sizeof cell, "%2d ", p);
        text += cell;
    }
    return text;
}

}  // namespace

std::array<MonitorField, 7> monitor_fields(const algorithms::EpochReport& report) {
    return {{
        {MONITOR_EPOCHS, std::to_string(report.epochs)},
        {MONITOR_ITERATIONS, std::to_string(report.iterations)},
        {MONITOR_HETEROGENEITY, format_real("%15.2f", report.heterogeneity)},
        {MONITOR_SIMPLICITY, format_real("%15.2f", report.simplicity)},
        {MONITOR_COMBINED, format_real("%15.2f", report.combined)},
        {MONITOR_VIOLATIONS, format_real("%.2f %%", report.violations)},
        {MONITOR_INACTIVE, inactive_text(report.inactive_prototypes)},
    }};
}

const DialogTemplate& TrainingDialog::dialog_template() const { return SOM; }

std::int32_t TrainingDialog::max_order() const { return std::max(ws_.rows, ws_.cols) - 1; }

void TrainingDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    ws_.availability.raise(core::AvailabilityEvent::begin_training);
    const algorithms::TrainingSchedule& schedule = session_.schedule;
    write_integer_field(host, SOM_EPOCHS, schedule.epochs);
    write_integer_field(host, SOM_ORDER, schedule.neighborhood_order);
    host.set_item_text(SOM_RATE, format_real("%-6.4f", schedule.learning_rate));
    host.set_item_text(SOM_FACTOR, format_real("%-6.4f", schedule.update_factor));
    host.set_focus(SOM_EPOCHS);
}

void TrainingDialog::on_command(DialogHost& host, int id) {
    algorithms::TrainingSchedule& schedule = session_.schedule;
    switch (id) {
        case SOM_EPOCHS_DOWN:
            schedule.epochs = step_integer_field(host, SOM_EPOCHS, FIELD_LIMIT, -1, 1, EPOCHS_MAX);
            break;
        case SOM_EPOCHS_UP:
            schedule.epochs = step_integer_field(host, SOM_EPOCHS, FIELD_LIMIT, +1, 1, EPOCHS_MAX);
            break;
        case SOM_ORDER_DOWN:
            schedule.neighborhood_order =
                step_integer_field(host, SOM_ORDER, FIELD_LIMIT, -1, 0, max_order());
            break;
        case SOM_ORDER_UP:
            schedule.neighborhood_order =
                step_integer_field(host, SOM_ORDER, FIELD_LIMIT, +1, 0, max_order());
            break;
        default:
            handle_dialog_buttons(host, shell_, id, "SOM training", [&] { calculate(host); });
            break;
    }
}

bool TrainingDialog::read_schedule(DialogHost& host) {
    algorithms::TrainingSchedule& schedule = session_.schedule;
    schedule.epochs = read_integer_field(host, SOM_EPOCHS, FIELD_LIMIT);
    if (schedule.epochs < 1 || schedule.epochs > EPOCHS_MAX) {
        invalid_input(host, "# of epochs must be in the range [1,999]!");
        return false;
    }
    schedule.neighborhood_order = read_integer_field(host, SOM_ORDER, FIELD_LIMIT);
    if (schedule.neighborhood_order < 0 || schedule.neighborhood_order > max_order()) {
        invalid_input(host, "Neighborhood must be in the range [0,max(rows,colums)-1]!");
        return false;
    }
    schedule.learning_rate = read_real_field(host, SOM_RATE, FIELD_LIMIT);
    if (schedule.learning_rate < 0.0 || schedule.learning_rate > 1.0) {
        invalid_input(host, "Learnrate must be in the range [0,1]!");
        return false;
    }
    schedule.update_factor = read_real_field(host, SOM_FACTOR, FIELD_LIMIT);
    if (schedule.update_factor < 0.0 || schedule.update_factor > 1.0) {
        invalid_input(host, "Updatefactor must be in the range [0,1]!");
        return false;
    }
    return true;
}

void TrainingDialog::calculate(DialogHost& host) {
    if (!read_schedule(host)) return;
    host.set_visible(false);
    host.begin_wait_cursor();
    monitor_.repaint();
    algorithms::train_som(ws_, session_.progress, session_.schedule,
                          [this](const algorithms::EpochReport& report) {
                              show_epoch(report);
                              return !shell_.observer().stop_requested();
                          });
    host.set_visible(true);
    ws_.availability.raise(core::AvailabilityEvent::training_done);
    host.end_wait_cursor();
    information_box(host, "SOM training done.", "SOM");
}

void TrainingDialog::show_epoch(const algorithms::EpochReport& report) {
    for (const MonitorField& field : monitor_fields(report)) monitor_.set_item_text(field.id, field.text);
    session_.measures.record(report);
    shell_.observer().epoch_done(report);
    if (ws_.availability.is_visualization_on()) refresh_map_view(ws_, session_, shell_);
}

}  // namespace veltra::ui
