#include "ui/qt/splash.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include "ui/dialog_templates.h"
#include "ui/qt/artwork.h"

namespace veltra::ui::qt {

SplashWindow::SplashWindow() : TemplateDialog(INTRODUCTION, nullptr), picture_(splash_picture()) {
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("splash"));
    setFixedSize(picture_.size());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect();
    move(area.left() + (area.width() - picture_.width()) / 2,
         area.top() + (area.height() - picture_.height()) / 2);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    painter.setPen(QColor(20, 60, 120));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void sleep_a_moment() { QThread::msleep(100); }

void show_splash(const core::Clock& clock, const Sleeper& sleep) {
    SplashWindow splash;
    splash.show();
    // Painted before the wait, so that it is seen: let the window system map
    // the window, then paint it at once.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    splash.repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    std::int64_t start = clock.now_seconds();
    for (std::int64_t now = start; now - start <= SPLASH_SECONDS; now = clock.now_seconds()) {
        // A clock set back while we wait would otherwise hold the splash for
        // as long as it was set back.
        if (now < start) start = now;
        sleep();
    }
}

}  // namespace veltra::ui::qt
