#include "ui/qt/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace veltra::ui::qt {

namespace {

QRect screen_of(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
}

// The whole window with its frame once it is shown; before that only the
// client size is known.
QSize outer_size(const QWidget& window) {
    return window.isVisible() ? window.frameGeometry().size() : window.size();
}

}  // namespace

void center_on_screen(QWidget& window) {
    const QRect screen = screen_of(window);
    const QSize size = outer_size(window);
    window.move(screen.left() + (screen.width() - size.width()) / 2,
                screen.top() + (screen.height() - size.height()) / 2);
}

void place_bottom_right(QWidget& window) {
    const QRect screen = screen_of(window);
    const QSize size = outer_size(window);
    window.move(screen.left() + screen.width() - size.width() - BOTTOM_RIGHT_MARGIN,
                screen.top() + screen.height() - size.height() - BOTTOM_RIGHT_MARGIN);
}

}  // namespace veltra::ui::qt
