#include "ui/qt/view_window.h"

#include <QKeySequence>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/qt/artwork.h"
#include "ui/qt/display_list_painter.h"
#include "ui/qt/live_painting.h"
#include "ui/qt/picture_saver.h"
#include "ui/qt/qt_text.h"
#include "ui/shell.h"

namespace veltra::ui::qt {

namespace {

constexpr QSize DEFAULT_SIZE{560, 460};

}  // namespace

ViewCanvas::ViewCanvas(ViewKind kind, Shell& shell, QWidget* parent)
    : QWidget(parent), kind_(kind), shell_(shell) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

DisplayList ViewCanvas::draw(int width, int height, const TextMeasurer& measurer) const {
    return draw_view(kind_, shell_.workspace(), shell_.session().measures, width, height, measurer);
}

void ViewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    paint_display_list(painter, draw(width(), height(), FontTextMeasurer(font())));
}

ViewWindow::ViewWindow(ViewKind kind, Shell& shell, ShellHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind), host_(host), canvas_(new ViewCanvas(kind, shell, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(to_qstring(view_title(kind)));
    setWindowIcon(application_icon());
    setObjectName(QStringLiteral("view_%1").arg(view_command(kind)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* menu_bar = new QMenuBar(this);
    QAction* save =
        menu_bar->addMenu(QStringLiteral("&Picture"))->addAction(QStringLiteral("&Save picture..."));
    save->setObjectName(QStringLiteral("save_picture"));
    connect(save, &QAction::triggered, this, &ViewWindow::save_picture);
    QAction* help = menu_bar->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About this view"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, [this] { host_.show_help_topic(view_help_keyword(kind_)); });
    layout->setMenuBar(menu_bar);
    layout->addWidget(canvas_);
    resize(DEFAULT_SIZE);
}

void ViewWindow::follow() { paint_now(*canvas_); }

void ViewWindow::save_picture() {
    qt::save_picture(host_, *canvas_, [this](int width, int height, const TextMeasurer& measurer) {
        return canvas_->draw(width, height, measurer);
    });
}

}  // namespace veltra::ui::qt
