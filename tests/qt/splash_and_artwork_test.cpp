#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "core/clock.h"
#include "ui/qt/artwork.h"
#include "ui/qt/file_dialogs.h"
#include "ui/qt/splash.h"

namespace veltra::ui::qt {
namespace {

SplashWindow* visible_splash() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<SplashWindow*>(top); splash != nullptr && splash->isVisible())
            return splash;
    }
    return nullptr;
}

// The splash is on screen, centred and of the picture's size during its whole
// wait, which lasts until the clock has advanced by six whole seconds; a
// clock set back meanwhile does not prolong it by the jump.
TEST(Splash, ShownCentredUntilTheClockHasAdvancedBySixSeconds) {
    core::FixedClock clock(1000);
    int sleeps = 0;
    bool always_visible = true;
    QRect geometry;
    show_splash(clock, [&] {
        SplashWindow* splash = visible_splash();
        always_visible = always_visible && splash != nullptr;
        if (splash != nullptr) geometry = splash->geometry();
        ++sleeps;
        clock.advance(1);
    });
    EXPECT_EQ(sleeps, 6);
    EXPECT_EQ(clock.now_seconds(), 1006);
    EXPECT_TRUE(always_visible);
    EXPECT_EQ(visible_splash(), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(geometry, QRect((screen.width() - 556) / 2, (screen.height() - 296) / 2, 556, 296));

    sleeps = 0;
    show_splash(clock, [&] {
        clock.advance(sleeps == 2 ? -3600 : 1);
        ++sleeps;
    });
    EXPECT_LE(sleeps, 9);
}

// The artwork is ours and painted by code: a sky-blue picture of 556 x 296
// with the yellow grid, and an icon at every usual size.
TEST(Artwork, SplashPictureAndIcon) {
    const QImage picture = splash_picture().toImage();
    ASSERT_EQ(picture.size(), QSize(556, 296));
    const QColor sky = picture.pixelColor(5, 5);
    EXPECT_GT(sky.blue(), sky.red() + 60);
    int yellow = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() > 170 && pixel.blue() < 90) ++yellow;
        }
    }
    EXPECT_GT(yellow, 800);

    const QIcon icon = application_icon();
    for (const int size : {16, 32, 48}) EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size));
    EXPECT_EQ(icon.pixmap(32, 32).toImage().pixelColor(0, 0).alpha(), 0);  // rounded corner
}

// The program's filter strings become the dialog's name filters in order,
// each shown by its description; "All Files" matches names without a dot.
TEST(FileDialogs, NameFiltersFromTheFilterStrings) {
    EXPECT_EQ(name_filters(0), (QStringList{"Data Files (*.dat) (*.dat)", "Veltra Files (*.vlt) (*.vlt)",
                                            "All Files (*.*) (*)"}));
    EXPECT_EQ(name_filters(3), (QStringList{"Violations Files (*.vio) (*.vio)", "All Files (*.*) (*)"}));
    EXPECT_EQ(name_filters(1).size(), 4);
    EXPECT_EQ(name_filters(9).size(), 3);
    EXPECT_TRUE(name_filters(10).isEmpty());
}

}  // namespace
}  // namespace veltra::ui::qt
