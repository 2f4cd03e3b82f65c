#include "ui/table_export_dialog.h"

#include <algorithm>

#include "core/table_export.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/file_filters.h"
#include "ui/messages.h"

namespace veltra::ui {

namespace {

using K = ControlKind;

constexpr ControlTemplate TABLEEXPORT_CONTROLS[] = {
    {TABLE_KIND_LABEL, K::static_text, "Table (prototypes, assignment or frequency):", {8, 8, 150, 11}},
    {TABLE_KIND, K::edit, "prototypes", {8, 22, 80, 12}},
    {CONTROL_OK, K::default_push_button, "&OK", {165, 6, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Cancel", {165, 20, 51, 12}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 34, 51, 12}},
};

}  // namespace

const DialogTemplate TABLEEXPORT = {
    "TABLEEXPORT",       "Export Table", "System", 12, {40, 40, 224, 52}, STYLE_CAPTION | STYLE_MODAL_FRAME,
    TABLEEXPORT_CONTROLS};

const DialogTemplate& TableExportDialog::dialog_template() const { return TABLEEXPORT; }

void TableExportDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    host.set_focus(TABLE_KIND);
}

void TableExportDialog::on_command(DialogHost& host, int id) {
    handle_dialog_buttons(host, shell_, id, "import table", [&] { write(host); });
}

void TableExportDialog::write(DialogHost& host) {
    std::string kind = host.item_text(TABLE_KIND);
    std::erase(kind, ' ');
    std::transform(kind.begin(), kind.end(), kind.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    core::TableKind table;
    if (kind == "prototypes") {
        table = core::TableKind::prototypes;
    } else if (kind == "assignment" || kind == "frequency") {
        table = kind == "assignment" ? core::TableKind::assignment : core::TableKind::frequency;
        if (!ws_.availability.is_enabled(kind == "assignment" ? core::CMD_RECALL_ASSIGNMENT
                                                              : core::CMD_RECALL_FREQUENCY)) {
            invalid_input(host, "The assignment and frequency tables need a completed SOM training!");
            return;
        }
    } else {
        invalid_input(host, "Table must be prototypes, assignment or frequency!");
        return;
    }
    const std::optional<std::string> path = shell_.save_file_dialog(FILTER_TABLE_SAVE);
    if (!path) return;
    host.begin_wait_cursor();
    const bool written = core::export_table(ws_, table, *path);
    host.end_wait_cursor();
    if (written) {
        information_box(host, "Table written.", "Export Table");
        host.end_dialog(1);
    } else {
        error_box(host, "Can not write the table!", "Error Writing File");
    }
}

}  // namespace veltra::ui
