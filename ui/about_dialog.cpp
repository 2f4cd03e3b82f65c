#include "ui/about_dialog.h"

#include "ui/dialog_templates.h"

namespace veltra::ui {

const DialogTemplate& AboutDialog::dialog_template() const { return ABOUT; }

void AboutDialog::on_open(DialogHost& host) {
    host.center_on_screen();
    host.set_item_text(ABOUT_VERSION, "1.52");
    host.set_item_text(ABOUT_REVISION, "Win32s");
    host.set_focus(CONTROL_OK);
}

void AboutDialog::on_command(DialogHost& host, int id) {
    if (id == CONTROL_OK) host.end_dialog(1);
}

}  // namespace veltra::ui
