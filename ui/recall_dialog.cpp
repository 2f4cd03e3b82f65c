#include "ui/recall_dialog.h"

#include <string_view>

#include "algorithms/recall.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/file_filters.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 5;
constexpr std::int32_t VALUE_MAX = 32767;

struct Behaviour {
    int filter_id;
    bool (*operation)(core::Workspace&, const std::string&, std::int32_t, std::int32_t);
    std::string_view success_text;
    std::string_view success_caption;
    std::string_view failure_text;
    std::string_view help_keyword;
};

const Behaviour& behaviour_of(RecallKind kind) {
    static const Behaviour FREQUENCY = {
        FILTER_FREQUENCY,   algorithms::recall_frequency,    "Frequency file written.",
        "Recall Frequency", "Can not write frequency file!", "recall frequency"};
    static const Behaviour ASSIGNMENT = {
        FILTER_ASSIGNMENT,   algorithms::recall_assignment,    "Assignment file written.",
        "Recall Assignment", "Can not write assignment file!", "recall assignment"};
    return kind == RecallKind::frequency ? FREQUENCY : ASSIGNMENT;
}

}  // namespace

const DialogTemplate& RecallDialog::dialog_template() const { return RECALL; }

void RecallDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    const std::optional<std::string> path = shell_.save_file_dialog(behaviour_of(kind_).filter_id);
    if (!path) {
        host.end_dialog(0);
        return;
    }
    file_name_ = *path;
    host.set_item_text(RECALL_FILE_NAME, file_name_);
    host.set_focus(RECALL_START);
}

void RecallDialog::on_command(DialogHost& host, int id) {
    switch (id) {
        case RECALL_START_DOWN:
            step_integer_field(host, RECALL_START, FIELD_LIMIT, -1, 1, VALUE_MAX);
            break;
        case RECALL_START_UP:
            step_integer_field(host, RECALL_START, FIELD_LIMIT, +1, 1, VALUE_MAX);
            break;
        case RECALL_CYCLE_DOWN:
            step_integer_field(host, RECALL_CYCLE, FIELD_LIMIT, -1, 1, VALUE_MAX);
            break;
        case RECALL_CYCLE_UP:
            step_integer_field(host, RECALL_CYCLE, FIELD_LIMIT, +1, 1, VALUE_MAX);
            break;
        default:
            handle_dialog_buttons(host, shell_, id, behaviour_of(kind_).help_keyword, [&] { recall(host); });
            break;
    }
}

void RecallDialog::recall(DialogHost& host) {
    // The cycle length is checked before the start number.
    const std::int32_t cycle = read_integer_field(host, RECALL_CYCLE, FIELD_LIMIT);
    if (cycle > VALUE_MAX || cycle < 1) {
        invalid_input(host, "Length of cycle must be in the range [1,32767]!");
        return;
    }
    const std::int32_t start = read_integer_field(host, RECALL_START, FIELD_LIMIT);
    if (start > VALUE_MAX || start < 1) {
        invalid_input(host, "Start value must be in the range [1,32767]!");
        return;
    }
    const Behaviour& behaviour = behaviour_of(kind_);
    host.begin_wait_cursor();
    const bool written = behaviour.operation(ws_, file_name_, start, cycle);
    host.end_wait_cursor();
    if (written) {
        information_box(host, behaviour.success_text, behaviour.success_caption);
    } else {
        error_box(host, behaviour.failure_text, "Error Writing File");
    }
    host.end_dialog(1);
}

}  // namespace veltra::ui
