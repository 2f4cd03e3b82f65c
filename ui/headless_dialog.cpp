#include "ui/headless_dialog.h"

namespace veltra::ui {

HeadlessDialog::HeadlessDialog(DialogProcedure& procedure, MessageHost& messages)
    : procedure_(procedure), messages_(messages) {
    for (const ControlTemplate& control : procedure_.dialog_template().controls) {
        if (control.id >= 0) texts_[control.id] = std::string(control.text);
    }
}

bool HeadlessDialog::open() {
    procedure_.on_open(*this);
    return !ended_;
}

void HeadlessDialog::type(int id, std::string_view text) { texts_[id] = std::string(text); }

void HeadlessDialog::press(int id) {
    if (ended_) return;
    procedure_.on_command(*this, id);
}

std::string HeadlessDialog::item_text(int id) {
    const auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

void HeadlessDialog::set_item_text(int id, std::string_view text) { texts_[id] = std::string(text); }

void HeadlessDialog::end_dialog(int result) {
    ended_ = true;
    result_ = result;
}

Answer HeadlessDialog::message_box(std::string_view text, std::string_view caption, Icon icon,
                                   Buttons buttons, bool default_no) {
    return messages_.message_box(text, caption, icon, buttons, default_no);
}

void HeadlessDialog::beep(Sound sound) { messages_.beep(sound); }

void HeadlessDialog::begin_wait_cursor() { messages_.begin_wait_cursor(); }

void HeadlessDialog::end_wait_cursor() { messages_.end_wait_cursor(); }

}  // namespace veltra::ui
