#include "ui/qt/elided_label.h"

#include <QEvent>
#include <QFontMetrics>

namespace veltra::ui::qt {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(parent), full_text_(text) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    elide();
}

void ElidedLabel::set_full_text(const QString& text) {
    full_text_ = text;
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) elide();
}

void ElidedLabel::elide() {
    const QString shown = fontMetrics().elidedText(full_text_, Qt::ElideMiddle, contentsRect().width());
    setText(shown);
    setToolTip(shown == full_text_ ? QString() : full_text_);
}

}  // namespace veltra::ui::qt
