#pragma once

#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// The checks of a data import's counts, the datavectors' first: false after
// the Invalid Input message of the first one outside [1,32767].
bool data_counts_valid(MessageHost& host, std::int64_t ndata, std::int64_t nvars);

// "IMPORTFILTER" (command 11): the data file first, then how many datavectors
// and variables to read from it. Ends with 1 after a successful import, 0
// otherwise (also at once when the file choice is cancelled).
class ImportFilterDialog final : public DialogProcedure {
public:
    ImportFilterDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void import(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
};

}  // namespace veltra::ui
