#include "ui/table_import_dialog.h"

#include <algorithm>

#include "ui/dialog_buttons.h"
#include "ui/dialog_templates.h"
#include "ui/file_filters.h"
#include "ui/messages.h"
#include "ui/table_messages.h"

namespace veltra::ui {

namespace {

using K = ControlKind;

constexpr std::size_t PREVIEW_ROWS = 12;

constexpr ControlTemplate TABLEIMPORT_CONTROLS[] = {
    {TABLE_FILE_GROUP, K::group_box, "Selected File", {8, 4, 268, 25}},
    {TABLE_FILE_NAME, K::static_text, "None", {13, 16, 258, 10}},
    {TABLE_DELIMITER_LABEL, K::static_text, "Delimiter:", {8, 36, 56, 11}},
    {TABLE_DELIMITER, K::edit, "auto", {66, 34, 64, 12}},
    {TABLE_HEADER_LABEL, K::static_text, "Header:", {146, 36, 60, 11}},
    {TABLE_HEADER, K::edit, "auto", {208, 34, 64, 12}},
    {TABLE_DECIMAL_LABEL, K::static_text, "Decimal mark:", {8, 50, 56, 11}},
    {TABLE_DECIMAL, K::edit, ".", {66, 48, 64, 12}},
    {TABLE_MISSING_LABEL, K::static_text, "Missing values:", {146, 50, 60, 11}},
    {TABLE_MISSING, K::edit, "refuse", {208, 48, 64, 12}},
    {TABLE_SCALE_LABEL, K::static_text, "Scaling:", {8, 64, 56, 11}},
    {TABLE_SCALE, K::edit, "none", {66, 62, 64, 12}},
    {TABLE_SKIP_LABEL, K::static_text, "Skip columns:", {146, 64, 60, 11}},
    {TABLE_SKIP, K::edit, "", {208, 62, 64, 12}},
    {TABLE_SETTINGS_HINT,
     K::static_text,
     "Delimiter: auto, comma, semicolon, tab or blanks. Header: auto, yes or no. Decimal mark: . or ,. "
     "Missing values: refuse or drop. Scaling: none, zscore or range. Skip: names separated by commas.",
     {8, 78, 268, 28}},
    {TABLE_SUMMARY, K::static_text, "", {8, 108, 268, 28}},
    {TABLE_PREVIEW, K::static_text, "", {8, 140, 326, 104}},
    {CONTROL_OK, K::default_push_button, "&OK", {284, 8, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Cancel", {284, 22, 51, 12}},
    {CONTROL_HELP, K::push_button, "&Help", {284, 36, 51, 12}},
    {TABLE_UPDATE, K::push_button, "&Update", {284, 62, 51, 12}},
};

std::string lowercase_trimmed(std::string text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

std::optional<io::TableDelimiter> parse_delimiter(const std::string& text) {
    if (text == "auto") return io::TableDelimiter::automatic;
    if (text == "comma" || text == ",") return io::TableDelimiter::comma;
    if (text == "semicolon" || text == ";") return io::TableDelimiter::semicolon;
    if (text == "tab") return io::TableDelimiter::tab;
    if (text == "blanks" || text == "blank") return io::TableDelimiter::blanks;
    return std::nullopt;
}

std::vector<std::string> split_names(const std::string& text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        std::string name = text.substr(start, end - start);
        const auto first = name.find_first_not_of(" \t");
        if (first != std::string::npos)
            names.push_back(name.substr(first, name.find_last_not_of(" \t") - first + 1));
        start = end + 1;
    }
    return names;
}

std::string role_suffix(io::ColumnRole role) {
    switch (role) {
        case io::ColumnRole::label:
            return " (label)";
        case io::ColumnRole::left_out:
            return " (left out)";
        case io::ColumnRole::variable:
            break;
    }
    return "";
}

}  // namespace

const DialogTemplate TABLEIMPORT = {
    "TABLEIMPORT",       "Import Table", "System", 12, {20, 20, 342, 252}, STYLE_CAPTION | STYLE_MODAL_FRAME,
    TABLEIMPORT_CONTROLS};

const DialogTemplate& TableImportDialog::dialog_template() const { return TABLEIMPORT; }

void TableImportDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    const std::optional<std::string> path = shell_.open_file_dialog(FILTER_TABLE_OPEN);
    if (!path) {
        host.end_dialog(0);
        return;
    }
    std::optional<std::string> text = io::read_text_file(*path);
    if (!text) {
        error_box(host, "Can not open the table file!", "Error Reading File");
        host.end_dialog(0);
        return;
    }
    path_ = *path;
    text_ = std::move(*text);
    host.set_item_text(TABLE_FILE_NAME, path_);
    update(host, core::TableImportOptions{});
    host.set_focus(TABLE_DELIMITER);
}

void TableImportDialog::on_command(DialogHost& host, int id) {
    if (id == TABLE_UPDATE) {
        if (const auto options = read_options(host)) update(host, *options);
        return;
    }
    handle_dialog_buttons(host, shell_, id, "import table", [&] { import(host); });
}

std::optional<core::TableImportOptions> TableImportDialog::read_options(DialogHost& host) {
    core::TableImportOptions options;
    const auto delimiter = parse_delimiter(lowercase_trimmed(host.item_text(TABLE_DELIMITER)));
    if (!delimiter) {
        invalid_input(host, "Delimiter must be auto, comma, semicolon, tab or blanks!");
        return std::nullopt;
    }
    options.table.delimiter = *delimiter;
    const std::string header = lowercase_trimmed(host.item_text(TABLE_HEADER));
    if (header != "auto" && header != "yes" && header != "no") {
        invalid_input(host, "Header must be auto, yes or no!");
        return std::nullopt;
    }
    options.table.header = header == "auto"  ? io::TableHeader::automatic
                           : header == "yes" ? io::TableHeader::yes
                                             : io::TableHeader::no;
    const std::string decimal = lowercase_trimmed(host.item_text(TABLE_DECIMAL));
    if (decimal != "." && decimal != ",") {
        invalid_input(host, "Decimal mark must be a point (.) or a comma (,)!");
        return std::nullopt;
    }
    options.table.decimal = decimal[0];
    if (options.table.decimal == ',' && options.table.delimiter == io::TableDelimiter::comma) {
        invalid_input(host, "A decimal comma needs a delimiter other than the comma!");
        return std::nullopt;
    }
    const std::string missing = lowercase_trimmed(host.item_text(TABLE_MISSING));
    if (missing != "refuse" && missing != "drop") {
        invalid_input(host, "Missing values must be refuse or drop!");
        return std::nullopt;
    }
    options.table.missing = missing == "drop" ? io::MissingValues::drop : io::MissingValues::refuse;
    const std::string scale = lowercase_trimmed(host.item_text(TABLE_SCALE));
    if (scale != "none" && scale != "zscore" && scale != "range") {
        invalid_input(host, "Scaling must be none, zscore or range!");
        return std::nullopt;
    }
    options.scaling = scale == "zscore"  ? core::Scaling::zscore
                      : scale == "range" ? core::Scaling::range
                                         : core::Scaling::none;
    options.table.skip = split_names(host.item_text(TABLE_SKIP));
    return options;
}

void TableImportDialog::update(DialogHost& host, const core::TableImportOptions& options) {
    const io::TablePreview preview = io::preview_table(text_, options.table, PREVIEW_ROWS);
    const io::TableReadResult read = io::read_table(text_, options.table);
    std::string summary = "Read as: ";
    summary += delimiter_name(preview.delimiter);
    summary += " delimited, ";
    summary += preview.has_header ? "with a header row." : "no header row.";
    summary += "\n";
    preview_headers_ = preview.names;
    if (const auto* table = std::get_if<io::Table>(&read)) {
        core::TableImportReport report;
        report.ndata = table->ndata;
        report.nvars = table->nvars;
        report.label_column = table->label_column;
        report.dropped_rows = table->dropped_rows;
        for (std::size_t c = 0; c < table->columns.size() && c < preview_headers_.size(); ++c) {
            preview_headers_[c] += role_suffix(table->columns[c].role);
            if (table->columns[c].role == io::ColumnRole::left_out)
                report.left_out.push_back(table->columns[c].name);
        }
        summary += table_import_message(report);
    } else {
        summary += table_error_message(std::get<io::TableError>(read));
    }
    preview_rows_ = preview.rows;
    host.set_item_text(TABLE_SUMMARY, summary);
    if (preview_observer_) preview_observer_();
}

void TableImportDialog::import(DialogHost& host) {
    const auto options = read_options(host);
    if (!options) return;
    host.begin_wait_cursor();
    const core::TableImportReport report = core::import_table(ws_, path_, *options);
    host.end_wait_cursor();
    switch (report.status) {
        case core::TableImportStatus::ok:
            ws_.availability.raise(core::AvailabilityEvent::begin_data_import);
            ws_.availability.raise(core::AvailabilityEvent::data_imported);
            if (ws_.annotations.has_labels()) ws_.availability.raise(core::AvailabilityEvent::labels_read);
            information_box(host, table_import_message(report), "Import Table");
            host.end_dialog(1);
            break;
        case core::TableImportStatus::out_of_memory:
            out_of_memory_box(host);
            break;
        case core::TableImportStatus::refused:
            if (report.error.kind == io::TableErrorKind::unknown_column) {
                invalid_input(host, table_error_message(report.error));
            } else {
                error_box(host, table_error_message(report.error), "Error Reading File");
            }
            break;
    }
}

}  // namespace veltra::ui

namespace veltra::ui {

int ShellHost::run_table_import(TableImportDialog& dialog) { return run_modal(dialog); }

}  // namespace veltra::ui
