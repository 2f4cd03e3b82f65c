#pragma once

#include <QPixmap>
#include <functional>

#include "core/clock.h"
#include "ui/qt/template_dialog.h"

namespace veltra::ui::qt {

// Seconds the splash stays: until the clock has advanced by more than this
// many whole seconds from the start of its wait.
inline constexpr int SPLASH_SECONDS = 5;

// The start-up window, from the template INTRODUCTION: the splash picture in
// a thin-bordered window without caption, of the picture's size, centred on
// the screen.
class SplashWindow final : public TemplateDialog {
    Q_OBJECT

public:
    SplashWindow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// Pauses the thread a little between two looks at the clock.
using Sleeper = std::function<void()>;
void sleep_a_moment();

// Shows the splash, paints it, then waits without serving the window system
// until `clock` has advanced by more than SPLASH_SECONDS, and closes it.
void show_splash(const core::Clock& clock, const Sleeper& sleep = sleep_a_moment);

}  // namespace veltra::ui::qt
