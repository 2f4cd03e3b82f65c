#pragma once

#include "algorithms/initialization.h"
#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// "TRIALS" (command 33): runs series of trials that pick datavectors as
// prototypes and keeps the best trial. Stays open for further runs, which
// continue the trial numbering; ends with 0 through Done.
class PickDatapointsDialog final : public DialogProcedure {
public:
    PickDatapointsDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void calculate(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
    algorithms::TrialSeries series_;
};

}  // namespace veltra::ui
