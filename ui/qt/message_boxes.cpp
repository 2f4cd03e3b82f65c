#include "ui/qt/message_boxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
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

int caption_width(const QWidget& window) {
    QFont font = window.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // Beside the caption the title bar holds the icon and up to three
    // buttons, each about a line high, and some space at both ends.
    return metrics.horizontalAdvance(window.windowTitle()) + 6 * metrics.height();
}

std::unique_ptr<QMessageBox> make_message_box(const MessageBoxRequest& request) {
    auto box = std::make_unique<QMessageBox>(to_qt(request.icon), request.caption, request.text,
                                             QMessageBox::NoButton, request.owner);
    if (request.buttons == Buttons::yes_no) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(request.default_no ? QMessageBox::No : QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    // The box takes the width of its text and buttons; an empty row as wide
    // as the caption keeps a short text from cutting the caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(caption_width(*box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

Answer show_message_box(const MessageBoxRequest& request) {
    const std::unique_ptr<QMessageBox> box = make_message_box(request);
    const int pressed = box->exec();
    if (request.buttons == Buttons::yes_no) return pressed == QMessageBox::Yes ? Answer::yes : Answer::no;
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
