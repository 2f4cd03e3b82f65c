#include "ui/qt/live_painting.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace veltra::ui::qt {

namespace {

constexpr int EXPOSE_TIMEOUT_MS = 1000;
constexpr int EXPOSE_POLL_MS = 5;

void serve_window_system() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace

void show_now(QWidget& window) {
    window.show();
    QElapsedTimer clock;
    clock.start();
    serve_window_system();
    // The window manager maps a new window in its own time; until it is
    // exposed nothing drawn into it reaches the screen.
    while (window.windowHandle() != nullptr && !window.windowHandle()->isExposed() &&
           clock.elapsed() < EXPOSE_TIMEOUT_MS) {
        QThread::msleep(EXPOSE_POLL_MS);
        serve_window_system();
    }
    window.repaint();
}

void paint_now(QWidget& widget) {
    if (!widget.isVisible()) return;
    widget.repaint();
    serve_window_system();
}

}  // namespace veltra::ui::qt
