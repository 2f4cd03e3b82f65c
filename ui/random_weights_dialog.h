#pragma once

#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// "RANDOMWEIGHTS" (command 32): fills the prototypes with random values
// between a lower and an upper limit. Ends with 1 after a successful
// Calculate, 0 from Done.
class RandomWeightsDialog final : public DialogProcedure {
public:
    RandomWeightsDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void calculate(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
};

}  // namespace veltra::ui
