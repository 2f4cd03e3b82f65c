#pragma once

#include <QMainWindow>
#include <map>
#include <span>

#include "core/workspace.h"
#include "ui/menu.h"
#include "ui/qt/map_canvas.h"
#include "ui/qt/qt_shell_host.h"
#include "ui/shell.h"

class QMenu;

namespace veltra::ui::qt {

inline constexpr const char* MAIN_WINDOW_TITLE = "Veltra V 1.52 for Windows";

// The main window: the menu built from the menu data and mirroring the
// availability state after every event, the client area with the map view,
// F1 for the help contents, and the close request (title bar, Alt+F4, Quit)
// handed to the shell, which asks first. Commands are the shell's business.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(core::Workspace& ws, QtHostHooks hooks = {});

    Shell& shell() noexcept { return shell_; }
    QtShellHost& host() noexcept { return host_; }
    MapCanvas& canvas() noexcept { return *canvas_; }
    // The menu item of a command id, or nullptr.
    QAction* action(int id) const;

    // Closes the window at the next turn of the event loop, without asking
    // again (the shell has asked).
    void close_without_asking();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void add_entries(QMenu& menu, std::span<const MenuEntry> entries);
    void mirror(const core::Availability& availability);

    QtShellHost host_;
    Shell shell_;
    MapCanvas* canvas_;
    std::map<int, QAction*> actions_;
    // The check mark of Sammon visualization as last mirrored (the menu
    // item's own mark changes before the command runs).
    bool visualization_on_ = false;
    bool closing_ = false;
};

}  // namespace veltra::ui::qt
