#pragma once

#include <string_view>

#include "ui/dialog_templates.h"
#include "ui/host.h"

namespace veltra::ui {

// The buttons every command dialog has: OK (or Calculate) runs `act`, Cancel
// (or Done) closes the dialog, Help shows the topic of `help_keyword`. Other
// ids are left alone.
template <class Act>
void handle_dialog_buttons(DialogHost& host, ShellHost& shell, int id, std::string_view help_keyword,
                           Act act) {
    switch (id) {
        case CONTROL_OK:
            act();
            break;
        case CONTROL_CANCEL:
            host.end_dialog(0);
            break;
        case CONTROL_HELP:
            shell.show_help_topic(help_keyword);
            break;
        default:
            break;
    }
}

}  // namespace veltra::ui
