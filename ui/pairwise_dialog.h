#pragma once

#include "algorithms/pairwise_exchange.h"
#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// "PAIRWISE" (command 35): runs series of random prototype exchanges and
// shows the total and successful changes and the simplicity. Stays open for
// further runs; ends with 0 through Done.
class PairwiseDialog final : public DialogProcedure {
public:
    PairwiseDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void calculate(DialogHost& host);
    // Shows the simplicity of the prototypes now and returns it.
    double show_simplicity(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
    algorithms::ExchangeSeries series_;
};

}  // namespace veltra::ui
