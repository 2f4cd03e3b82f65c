#include "ui/qt/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

namespace {

QMessageBox::Icon to_qt(Icon icon) {
    switch (icon) {
        case Icon::information:
            return QMessageBox::Information;
        case Icon::exclamation:
            return QMessageBox::Warning;
        case Icon::error:
            return QMessageBox::Critical;
        case Icon::question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Answer show_message_box(const MessageBoxRequest& request) {
    QMessageBox box(to_qt(request.icon), request.caption, request.text, QMessageBox::NoButton, request.owner);
    if (request.buttons == Buttons::yes_no) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.default_no ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::yes : Answer::no;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::ok;
}

MessageService::MessageService(MessageBoxFunction function) : function_(std::move(function)) {}

Answer MessageService::message_box(QWidget* owner, std::string_view text, std::string_view caption, Icon icon,
                                   Buttons buttons, bool default_no) {
    // A box must never appear under a wait cursor left over by the caller.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const Answer answer =
        function_({owner, to_qstring(text), to_qstring(caption), icon, buttons, default_no});
    if (waiting) QApplication::restoreOverrideCursor();
    return answer;
}

void MessageService::beep(Sound) {
    ++beeps_;
    QApplication::beep();
}

void MessageService::begin_wait_cursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void MessageService::end_wait_cursor() { QApplication::restoreOverrideCursor(); }

}  // namespace veltra::ui::qt
