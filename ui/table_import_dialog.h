#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/table_import.h"
#include "core/workspace.h"
#include "io/table_reader.h"
#include "ui/control_ids.h"
#include "ui/host.h"

namespace veltra::ui {

extern const DialogTemplate TABLEIMPORT;

// "TABLEIMPORT" (command 16): the table file first, then how to read it,
// with the first rows and the counts shown before OK. The workspace changes
// only when OK imports successfully; then the dialog raises begin_data_import
// and data_imported, as a data import does, and ends with 1 (0 otherwise).
class TableImportDialog final : public DialogProcedure {
public:
    TableImportDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

    // The first rows of the file as the settings split them; the headers
    // carry each column's role, e.g. "species (label)".
    const std::vector<std::string>& preview_headers() const noexcept { return preview_headers_; }
    const std::vector<std::vector<std::string>>& preview_rows() const noexcept { return preview_rows_; }
    // Called whenever the preview has changed.
    void set_preview_observer(std::function<void()> observer) { preview_observer_ = std::move(observer); }

private:
    std::optional<core::TableImportOptions> read_options(DialogHost& host);
    void update(DialogHost& host, const core::TableImportOptions& options);
    void import(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
    std::string path_;
    std::string text_;
    std::vector<std::string> preview_headers_;
    std::vector<std::vector<std::string>> preview_rows_;
    std::function<void()> preview_observer_;
};

}  // namespace veltra::ui
