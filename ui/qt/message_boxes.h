#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string_view>

#include "ui/host.h"

class QMessageBox;
class QWidget;

namespace veltra::ui::qt {

// One message box as the program asks for it.
struct MessageBoxRequest {
    QWidget* owner;  // the window that owns the box, or nullptr
    QString text;
    QString caption;
    Icon icon;
    Buttons buttons;
    bool default_no;
};

// Shows a message box and returns the answer. Tests replace it to answer
// without a window.
using MessageBoxFunction = std::function<Answer(const MessageBoxRequest&)>;

// The width a window needs for its caption in the window manager's title
// bar: the caption in bold, the icon and the title bar's buttons.
int caption_width(const QWidget& window);

// The QMessageBox of a request: its icon, buttons and default button, and
// at least as wide as its caption needs.
std::unique_ptr<QMessageBox> make_message_box(const MessageBoxRequest& request);

// The modal QMessageBox of the request; returns the answer.
Answer show_message_box(const MessageBoxRequest& request);

// The message boxes, beeps and wait cursor that every window of the program
// shares; the dialog hosts and the shell host forward to it.
class MessageService {
public:
    explicit MessageService(MessageBoxFunction function = show_message_box);

    Answer message_box(QWidget* owner, std::string_view text, std::string_view caption, Icon icon,
                       Buttons buttons, bool default_no);
    void beep(Sound sound);
    void begin_wait_cursor();
    void end_wait_cursor();

    // Beeps so far; the desktop has one sound for all of them.
    int beeps() const noexcept { return beeps_; }

private:
    MessageBoxFunction function_;
    int beeps_ = 0;
};

}  // namespace veltra::ui::qt
