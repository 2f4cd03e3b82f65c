#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include "ui/qt/artwork.h"
#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

namespace {

// The window system's default size for a new main window: three quarters of
// the screen each way.
QSize default_size() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {640, 480};
    const QRect area = screen->availableGeometry();
    return {area.width() * 3 / 4, area.height() * 3 / 4};
}

}  // namespace

MainWindow::MainWindow(core::Workspace& ws, QtHostHooks hooks)
    : host_(*this, std::move(hooks)), shell_(ws, host_), canvas_(new MapCanvas(shell_, this)) {
    setWindowTitle(QString::fromLatin1(MAIN_WINDOW_TITLE));
    setWindowIcon(application_icon());
    setCentralWidget(canvas_);
    resize(default_size());

    for (const MenuEntry& entry : main_menu()) {
        // Styles that can right-align the menu bar's last popups do so after
        // a separator; the others simply keep them last.
        if (entry.right_end) menuBar()->addSeparator();
        QMenu* menu = menuBar()->addMenu(to_qstring(entry.text));
        add_entries(*menu, entry.items);
    }

    auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help_key->setContext(Qt::WindowShortcut);
    connect(help_key, &QShortcut::activated, this, [this] { shell_.on_help_key(); });

    // The workspace may outlive this window.
    ws.availability.add_observer(
        [window = QPointer<MainWindow>(this)](const core::Availability& availability) {
            if (window != nullptr) window->mirror(availability);
        });
    mirror(ws.availability);
}

void MainWindow::add_entries(QMenu& menu, std::span<const MenuEntry> entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntryKind::separator:
                menu.addSeparator();
                break;
            case MenuEntryKind::popup:
                add_entries(*menu.addMenu(to_qstring(entry.text)), entry.items);
                break;
            case MenuEntryKind::command: {
                QAction* item = menu.addAction(to_qstring(entry.text));
                const int id = entry.id;
                item->setCheckable(id == core::CMD_SAMMON_VISUALIZATION ||
                                   id == core::CMD_VIEW_KEEP_ASPECT_RATIO);
                item->setObjectName(QStringLiteral("command_%1").arg(id));
                connect(item, &QAction::triggered, this, [this, id] { shell_.on_command(id); });
                actions_[id] = item;
                break;
            }
        }
    }
}

QAction* MainWindow::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::mirror(const core::Availability& availability) {
    for (const auto& [id, item] : actions_) {
        item->setEnabled(availability.is_enabled(id));
        if (id == core::CMD_SAMMON_VISUALIZATION) item->setChecked(availability.is_visualization_on());
    }
    action(core::CMD_VIEW_KEEP_ASPECT_RATIO)->setChecked(shell_.session().map_view.keeps_aspect_ratio());
    // The picture belongs to prototypes that may be gone: it leaves the
    // screen with the check mark, not at some later paint.
    const bool was_on = visualization_on_;
    visualization_on_ = availability.is_visualization_on();
    if (was_on && !visualization_on_) canvas_->repaint();
    // Every event may have given the prototypes values or taken them away.
    host_.follow_views();
}

void MainWindow::close_without_asking() {
    closing_ = true;
    QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    shell_.request_close();
}

}  // namespace veltra::ui::qt
