#include "ui/qt/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace veltra::ui::qt {

namespace {

// A square map lying on the ground, seen from above and in front: (u, v) in
// [0, 1] on the map, v = 0 at the far edge, projected to the picture.
struct GroundGrid {
    double center_x;
    double horizon_y;
    double width;   // width of the near edge
    double height;  // distance from the horizon to the near edge
    int cells;

    double depth(double v) const { return 1.0 + (1.0 - v) * 1.6; }
    QPointF at(double u, double v) const {
        const double z = depth(v);
        return {center_x + (u - 0.5) * width / z, horizon_y + height / z};
    }
    double scale(double v) const { return 1.0 / depth(v); }
};

void paint_grid(QPainter& painter, const GroundGrid& grid, double pen_width) {
    QPainterPath plane;
    plane.moveTo(grid.at(0, 0));
    plane.lineTo(grid.at(1, 0));
    plane.lineTo(grid.at(1, 1));
    plane.lineTo(grid.at(0, 1));
    plane.closeSubpath();
    painter.fillPath(plane, QColor(255, 250, 205, 90));

    painter.setPen(QPen(QColor(240, 200, 0), pen_width, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= grid.cells; ++i) {
        const double t = static_cast<double>(i) / grid.cells;
        painter.drawLine(grid.at(t, 0), grid.at(t, 1));
        painter.drawLine(grid.at(0, t), grid.at(1, t));
    }
}

// A shaded ball resting on the grid at (u, v), with its shadow.
void paint_sphere(QPainter& painter, const GroundGrid& grid, double u, double v, double radius,
                  QColor color) {
    const QPointF foot = grid.at(u, v);
    const double r = radius * grid.scale(v);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(QPointF(foot.x() + r * 0.25, foot.y()), r * 1.05, r * 0.35);

    const QPointF center(foot.x(), foot.y() - r);
    QRadialGradient shade(center, r, QPointF(center.x() - r * 0.4, center.y() - r * 0.45));
    shade.setColorAt(0.0, Qt::white);
    shade.setColorAt(0.3, color.lighter(130));
    shade.setColorAt(1.0, color.darker(220));
    painter.setBrush(shade);
    painter.drawEllipse(center, r, r);
}

QFont pixel_font(int pixels, bool bold, bool italic) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

}  // namespace

void paint_splash(QPainter& painter) {
    const int w = SPLASH_SIZE.width();
    const int h = SPLASH_SIZE.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(70, 150, 230));
    sky.setColorAt(0.75, QColor(160, 210, 250));
    sky.setColorAt(1.0, QColor(200, 232, 255));
    painter.fillRect(0, 0, w, h, sky);

    const GroundGrid grid{400.0, 60.0, 300.0, 190.0, 5};
    paint_grid(painter, grid, 2.0);
    paint_sphere(painter, grid, 0.2, 0.8, 30.0, QColor(220, 30, 30));
    paint_sphere(painter, grid, 0.8, 0.6, 30.0, QColor(30, 170, 60));
    paint_sphere(painter, grid, 0.4, 0.2, 30.0, QColor(40, 70, 220));

    painter.setPen(QColor(0, 0, 0, 70));
    painter.setFont(pixel_font(62, true, true));
    painter.drawText(QPoint(33, 103), QStringLiteral("Veltra"));
    painter.setPen(Qt::white);
    painter.drawText(QPoint(30, 100), QStringLiteral("Veltra"));
    painter.setPen(QColor(255, 230, 60));
    painter.setFont(pixel_font(24, true, false));
    painter.drawText(QPoint(36, 136), QStringLiteral("for Windows"));

    painter.fillRect(0, h - 52, w, 52, QColor(20, 60, 120, 200));
    painter.setPen(Qt::white);
    painter.setFont(pixel_font(15, true, false));
    painter.drawText(QPoint(20, h - 30), QStringLiteral("Self-Organizing Map analysis"));
    painter.setFont(pixel_font(13, false, false));
    painter.drawText(QPoint(20, h - 12),
                     QStringLiteral("Version 1.52    Kohonen maps for exploratory data analysis"));
    painter.restore();
}

QPixmap splash_picture() {
    QPixmap picture(SPLASH_SIZE);
    QPainter painter(&picture);
    paint_splash(painter);
    return picture;
}

void paint_icon(QPainter& painter, int size) {
    const double s = size;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0.0, QColor(70, 150, 230));
    sky.setColorAt(1.0, QColor(180, 222, 255));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    const GroundGrid grid{s * 0.5, s * 0.05, s * 1.05, s * 0.9, 3};
    paint_grid(painter, grid, s < 24 ? 1.0 : s / 24.0);
    paint_sphere(painter, grid, 0.5, 0.55, s * 0.3, QColor(220, 30, 30));
    painter.restore();
}

QIcon application_icon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint_icon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace veltra::ui::qt
