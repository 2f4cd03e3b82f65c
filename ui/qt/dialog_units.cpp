#include "ui/qt/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace veltra::ui::qt {

QFont dialog_font(std::string_view name, int points) {
    QFont font = QApplication::font();
    // "System" 12 is a raster font of about 10 points on the screen; the
    // small "MS Sans Serif" 8 reads badly at 8 points in modern families.
    int size = points;
    if (name == "System") {
        size = 10;
    } else if (name == "MS Sans Serif") {
        size = points < 9 ? 9 : points;
    }
    font.setPointSize(size);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width over the 52 Latin letters, rounded, as the window
    // system measures dialog fonts.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    cx_ = (letters / 26 + 1) / 2;
    cy_ = metrics.height();
    if (cx_ < 1) cx_ = 1;
    if (cy_ < 1) cy_ = 1;
}

QRect DialogUnits::to_pixels(const Rect& rect) const noexcept {
    return {to_pixels_x(rect.x), to_pixels_y(rect.y), to_pixels_x(rect.width), to_pixels_y(rect.height)};
}

}  // namespace veltra::ui::qt
