#pragma once

#include <QFont>
#include <QRect>
#include <string_view>

#include "ui/dialog_template.h"

namespace veltra::ui::qt {

// The font a dialog template names, on this system: "System" and "MS Sans
// Serif" do not exist here, so they map to the application's default family
// at a size that keeps the dialogs' proportions.
QFont dialog_font(std::string_view name, int points);

// Dialog units of one font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int to_pixels_x(int units) const noexcept { return units * cx_ / 4; }
    int to_pixels_y(int units) const noexcept { return units * cy_ / 8; }
    QRect to_pixels(const Rect& rect) const noexcept;

    int average_char_width() const noexcept { return cx_; }
    int char_height() const noexcept { return cy_; }

private:
    int cx_;
    int cy_;
};

}  // namespace veltra::ui::qt
