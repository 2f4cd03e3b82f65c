#pragma once

#include "ui/host.h"

namespace veltra::ui {

// "ABOUT" (command 99): the program's version and revision. OK, the only way
// out, ends it with 1.
class AboutDialog final : public DialogProcedure {
public:
    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;
};

}  // namespace veltra::ui
