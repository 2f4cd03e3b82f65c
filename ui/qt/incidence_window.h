#pragma once

#include "ui/incidence_viewer.h"
#include "ui/qt/template_dialog.h"

class QScrollBar;

namespace veltra::ui::qt {

// The "Incidence Matrix" window: resizable, at its template's place (not
// centred), with a close box, a maximize box and both scroll bars, which
// move the viewer's first visible row and column, as do the mouse wheel and
// the arrow, Page Up, Page Down, Home and End keys. Enter and Esc do nothing;
// only the window's Close ends it.
class IncidenceWindow final : public TemplateDialog {
    Q_OBJECT

public:
    IncidenceWindow(IncidenceViewer& viewer, QWidget* owner);

    QScrollBar* scroll_bar(ScrollBar bar) const noexcept;
    IncidenceViewer& viewer() noexcept { return viewer_; }
    // Pixel height of one table line, measured when the window opens.
    int line_height() const noexcept { return line_height_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void on_action(ScrollBar bar, int action);
    // Moves both scroll boxes to the viewer's positions and repaints.
    void show_positions();

    IncidenceViewer& viewer_;
    QWidget* table_;
    QScrollBar* vertical_;
    QScrollBar* horizontal_;
    int line_height_;
    // Wheel angles not yet turned into whole notches.
    int pending_wheel_x_ = 0;
    int pending_wheel_y_ = 0;
};

}  // namespace veltra::ui::qt
