#include "ui/qt/map_canvas.h"

#include <QApplication>
#include <QPainter>

#include "ui/qt/display_list_painter.h"
#include "ui/shell.h"

namespace veltra::ui::qt {

MapCanvas::MapCanvas(const Shell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void MapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Every paint erases the whole client area and draws everything.
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    const FontTextMeasurer measurer(font());
    const auto items = shell_.paint(width(), height(), measurer);
    if (!items) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    paint_display_list(painter, *items);
    QApplication::restoreOverrideCursor();
}

}  // namespace veltra::ui::qt
