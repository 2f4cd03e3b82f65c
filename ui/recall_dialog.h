#pragma once

#include <string>

#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

enum class RecallKind { frequency, assignment };

// "RECALL" with one of its two behaviours: command 42 writes a frequency file,
// command 43 an assignment file. The output file is chosen first; cancelling
// that choice ends the dialog at once with 0. Ends with 1 once OK has run the
// recall, whether or not the file could be written, 0 on Cancel.
class RecallDialog final : public DialogProcedure {
public:
    RecallDialog(core::Workspace& ws, ShellHost& shell, RecallKind kind)
        : ws_(ws), shell_(shell), kind_(kind) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    void recall(DialogHost& host);

    core::Workspace& ws_;
    ShellHost& shell_;
    RecallKind kind_;
    std::string file_name_;
};

}  // namespace veltra::ui
