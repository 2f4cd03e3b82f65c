#pragma once

#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// "MATRIXSIZE" (command 21): rows and columns of the map, at most 36
// prototypes. Ends with 1 once the map is defined, 0 on Cancel.
class MapShapeDialog final : public DialogProcedure {
public:
    MapShapeDialog(core::Workspace& ws, ShellHost& shell) : ws_(ws), shell_(shell) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void step(DialogHost& host, int field, int direction);
    void define_map(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
};

}  // namespace veltra::ui
