#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

class QPainter;

namespace veltra::ui::qt {

// The splash picture's size in pixels; the splash window takes it.
inline constexpr QSize SPLASH_SIZE{556, 296};

// Paints the splash picture into a 556 x 296 area at the painter's origin:
// the program's name and "for Windows" beside a yellow map grid in
// perspective carrying three coloured spheres, on a sky-blue background, with
// the credit lines below.
void paint_splash(QPainter& painter);
QPixmap splash_picture();

// Paints the application icon into a size x size square at the origin: a
// small yellow map grid in perspective with one red sphere on sky blue.
void paint_icon(QPainter& painter, int size);
// The application icon at the usual sizes.
QIcon application_icon();

}  // namespace veltra::ui::qt
