#pragma once

#include "ui/host.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/template_dialog.h"

namespace veltra::ui::qt {

// The window-system side of one dialog procedure: its template dialog, its
// message boxes and the modal run.
class QtDialogHost final : public DialogHost {
public:
    QtDialogHost(DialogProcedure& procedure, QWidget* owner, MessageService& messages);

    // Sets the dialog up (the procedure may end it there, before it is ever
    // shown), then runs it modally until it ends; returns the end result.
    int run(const DialogDriver& driver);

    TemplateDialog& dialog() noexcept { return dialog_; }

    std::string item_text(int id) override;
    void set_item_text(int id, std::string_view text) override;
    void end_dialog(int result) override;
    void center_on_screen() override;
    void set_visible(bool visible) override;
    void set_focus(int id) override;

    Answer message_box(std::string_view text, std::string_view caption, Icon icon,
                       Buttons buttons = Buttons::ok, bool default_no = false) override;
    void beep(Sound sound) override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;

private:
    DialogProcedure& procedure_;
    MessageService& messages_;
    TemplateDialog dialog_;
    int result_ = 0;
};

}  // namespace veltra::ui::qt
