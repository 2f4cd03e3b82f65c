#include "ui/qt/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace veltra::ui::qt {

namespace {

// The part of the window's screen that windows may use: without panels and
// docks.
QRect available_area(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 0, 0);
}

// The whole window with its frame once it is shown; before that only the
// client size is known.
QSize outer_size(const QWidget& window) {
    return window.isVisible() ? window.frameGeometry().size() : window.size();
}

// Moves the window's frame to (left, top), kept inside `area` as far as its
// size allows (the top-left corner first, so that the caption stays
// reachable).
void move_inside(QWidget& window, const QRect& area, const QSize& size, int left, int top) {
    left = std::max(std::min(left, area.left() + area.width() - size.width()), area.left());
    top = std::max(std::min(top, area.top() + area.height() - size.height()), area.top());
    window.move(left, top);
}

}  // namespace

void center_on_screen(QWidget& window) {
    const QRect area = available_area(window);
    const QSize size = outer_size(window);
    move_inside(window, area, size, area.left() + (area.width() - size.width()) / 2,
                area.top() + (area.height() - size.height()) / 2);
}

void place_bottom_right(QWidget& window) {
    const QRect area = available_area(window);
    const QSize size = outer_size(window);
    move_inside(window, area, size, area.left() + area.width() - size.width() - BOTTOM_RIGHT_MARGIN,
                area.top() + area.height() - size.height() - BOTTOM_RIGHT_MARGIN);
}

}  // namespace veltra::ui::qt
