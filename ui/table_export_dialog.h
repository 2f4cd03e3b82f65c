#pragma once

#include "core/workspace.h"
#include "ui/control_ids.h"
#include "ui/host.h"

namespace veltra::ui {

extern const DialogTemplate TABLEEXPORT;

// "TABLEEXPORT" (command 17): which table, then the Save dialog. The
// prototypes table is available with the prototypes export, the assignment
// and frequency tables with their recall commands. Ends with 1 once a table
// is written, 0 on Cancel.
class TableExportDialog final : public DialogProcedure {
public:
    TableExportDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void write(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
};

}  // namespace veltra::ui
