#pragma once

#include <QFont>
#include <QFontMetrics>

#include "ui/display_list.h"

class QPainter;

namespace veltra::ui::qt {

// Measures text in one font, as the painter will draw it.
class FontTextMeasurer final : public TextMeasurer {
public:
    explicit FontTextMeasurer(const QFont& font) : metrics_(font) {}
    int text_width(std::string_view text) const override;
    int line_height() const override { return metrics_.height(); }

private:
    QFontMetrics metrics_;
};

// Draws the items in order with the painter's font: rectangles filled, lines with their solid
// pen, texts with their top-left corner at (x, y) on an opaque white box.
void paint_display_list(QPainter& painter, const DisplayList& items);

}  // namespace veltra::ui::qt
