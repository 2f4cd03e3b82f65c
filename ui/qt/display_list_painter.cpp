#include "ui/qt/display_list_painter.h"

#include <QPainter>
#include <QPen>

#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

namespace {

QColor to_qt(Color color) { return QColor(color.red, color.green, color.blue); }

}  // namespace

int FontTextMeasurer::text_width(std::string_view text) const {
    return metrics_.horizontalAdvance(to_qstring(text));
}

void paint_display_list(QPainter& painter, const DisplayList& items) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackground(Qt::white);
    const int ascent = painter.fontMetrics().ascent();
    for (const DisplayItem& item : items) {
        if (const auto* line = std::get_if<LineItem>(&item)) {
            painter.setPen(QPen(to_qt(line->color), line->pen_width, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(line->x1, line->y1, line->x2, line->y2);
        } else if (const auto* rect = std::get_if<RectItem>(&item)) {
            painter.fillRect(rect->x, rect->y, rect->width, rect->height, to_qt(rect->fill));
        } else if (const auto* text = std::get_if<TextItem>(&item)) {
            painter.setPen(to_qt(text->color));
            painter.setBackgroundMode(text->opaque ? Qt::OpaqueMode : Qt::TransparentMode);
            painter.drawText(QPoint(text->x, text->y + ascent), to_qstring(text->text));
        }
    }
    painter.restore();
}

}  // namespace veltra::ui::qt
