#include "ui/import_filter_dialog.h"

#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/file_filters.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

constexpr std::size_t FIELD_LIMIT = 5;
constexpr std::int32_t COUNT_MAX = 32767;

}  // namespace

bool data_counts_valid(MessageHost& host, std::int64_t ndata, std::int64_t nvars) {
    if (ndata > COUNT_MAX || ndata < 1) {
        invalid_input(host, "# of datavectors must be in the range [1,32767]!");
        return false;
    }
    if (nvars > COUNT_MAX || nvars < 1) {
        invalid_input(host, "# of variables must be in the range [1,32767]!");
        return false;
    }
    return true;
}

const DialogTemplate& ImportFilterDialog::dialog_template() const { return IMPORTFILTER; }

void ImportFilterDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    ws_.availability.raise(core::AvailabilityEvent::begin_data_import);
    const std::optional<std::string> path = shell_.open_file_dialog(FILTER_DATA);
    if (!path) {
        host.end_dialog(0);
        return;
    }
    ws_.data_file_name = *path;
    host.set_item_text(IMPORT_FILE_NAME, *path);
    host.set_focus(IMPORT_NDATA);
}

void ImportFilterDialog::on_command(DialogHost& host, int id) {
    switch (id) {
        case IMPORT_NDATA_DOWN:
            step_integer_field(host, IMPORT_NDATA, FIELD_LIMIT, -1, 1, COUNT_MAX);
            break;
        case IMPORT_NDATA_UP:
            step_integer_field(host, IMPORT_NDATA, FIELD_LIMIT, +1, 1, COUNT_MAX);
            break;
        case IMPORT_NVARS_DOWN:
            step_integer_field(host, IMPORT_NVARS, FIELD_LIMIT, -1, 1, COUNT_MAX);
            break;
        case IMPORT_NVARS_UP:
            step_integer_field(host, IMPORT_NVARS, FIELD_LIMIT, +1, 1, COUNT_MAX);
            break;
        default:
            handle_dialog_buttons(host, shell_, id, "import datavectors", [&] { import(host); });
            break;
    }
}

void ImportFilterDialog::import(DialogHost& host) {
    const std::int32_t ndata = read_integer_field(host, IMPORT_NDATA, FIELD_LIMIT);
    const std::int32_t nvars = read_integer_field(host, IMPORT_NVARS, FIELD_LIMIT);
    if (!data_counts_valid(host, ndata, nvars)) return;
    host.begin_wait_cursor();
    switch (core::import_datavectors(ws_, ws_.data_file_name, ndata, nvars)) {
        case core::ImportResult::ok:
            ws_.availability.raise(core::AvailabilityEvent::data_imported);
            host.end_wait_cursor();
            information_box(host, "Data file read.", "Import Datavectors");
            host.end_dialog(1);
            break;
        case core::ImportResult::out_of_memory:
            out_of_memory_box(host);
            host.end_wait_cursor();
            break;
        case core::ImportResult::read_error:
            error_box(host, "Can not import data!", "Error Reading File");
            host.end_wait_cursor();
            break;
    }
}

}  // namespace veltra::ui
