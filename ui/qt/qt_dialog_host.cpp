#include "ui/qt/qt_dialog_host.h"

#include "ui/qt/live_painting.h"
#include "ui/qt/placement.h"

namespace veltra::ui::qt {

QtDialogHost::QtDialogHost(DialogProcedure& procedure, QWidget* owner, MessageService& messages)
    : procedure_(procedure), messages_(messages), dialog_(procedure.dialog_template(), owner) {
    QObject::connect(&dialog_, &TemplateDialog::command, &dialog_, [this](int id) {
        if (!dialog_.ended()) procedure_.on_command(*this, id);
    });
}

int QtDialogHost::run(const DialogDriver& driver) {
    procedure_.on_open(*this);
    dialog_.run_modal(driver);
    return result_;
}

std::string QtDialogHost::item_text(int id) { return dialog_.item_text(id); }

// Operations that run from a button set fields without an event loop: a
// field that is on screen shows its new text at once.
void QtDialogHost::set_item_text(int id, std::string_view text) {
    dialog_.set_item_text(id, text);
    if (QWidget* field = dialog_.control(id)) paint_now(*field);
}

void QtDialogHost::end_dialog(int result) {
    if (dialog_.ended()) return;
    result_ = result;
    dialog_.end_modal();
}

void QtDialogHost::center_on_screen() { qt::center_on_screen(dialog_); }

void QtDialogHost::set_visible(bool visible) {
    if (!dialog_.ended()) dialog_.setVisible(visible);
}

void QtDialogHost::set_focus(int id) {
    if (QWidget* widget = dialog_.control(id)) widget->setFocus();
}

Answer QtDialogHost::message_box(std::string_view text, std::string_view caption, Icon icon, Buttons buttons,
                                 bool default_no) {
    return messages_.message_box(&dialog_, text, caption, icon, buttons, default_no);
}

void QtDialogHost::beep(Sound sound) { messages_.beep(sound); }

void QtDialogHost::begin_wait_cursor() { messages_.begin_wait_cursor(); }

void QtDialogHost::end_wait_cursor() { messages_.end_wait_cursor(); }

}  // namespace veltra::ui::qt
