#pragma once

#include <map>
#include <string>
#include <string_view>

#include "ui/host.h"

namespace veltra::ui {

// A dialog without a window: it keeps the text of every control, starting
// from its template, and lets a script type into fields and press buttons by
// id as a user would. Message boxes, beeps and the cursor go to `messages`.
// The batch runner and the tests drive dialogs through it.
class HeadlessDialog final : public DialogHost {
public:
    HeadlessDialog(DialogProcedure& procedure, MessageHost& messages);

    // Sets the dialog up; false when it ended while opening.
    bool open();
    // Replaces a field's text, as typing would.
    void type(int id, std::string_view text);
    // Presses a button; ignored once the dialog has ended.
    void press(int id);

    bool ended() const noexcept { return ended_; }
    int result() const noexcept { return result_; }
    bool visible() const noexcept { return visible_; }

    std::string item_text(int id) override;
    void set_item_text(int id, std::string_view text) override;
    void end_dialog(int result) override;
    void center_on_screen() override {}
    void set_visible(bool visible) override { visible_ = visible; }
    void set_focus(int) override {}

    Answer message_box(std::string_view text, std::string_view caption, Icon icon,
                       Buttons buttons = Buttons::ok, bool default_no = false) override;
    void beep(Sound sound) override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;

private:
    DialogProcedure& procedure_;
    MessageHost& messages_;
    std::map<int, std::string> texts_;
    bool ended_ = false;
    bool visible_ = true;
    int result_ = 0;
};

}  // namespace veltra::ui
