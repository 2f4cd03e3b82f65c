#pragma once

#include "ui/incidence_viewer.h"
#include "ui/qt/template_dialog.h"

class QScrollBar;

namespace veltra::ui::qt {

// The "Incidence Matrix" window: resizable, at its template's place (not
// centred), with a close box, a maximize box and both scroll bars, which
// move the viewer's first visible row and column. Enter and Esc do nothing;
// only the window's Close ends it.
class IncidenceWindow final : public TemplateDialog {
    Q_OBJECT

public:
    IncidenceWindow(IncidenceViewer& viewer, QWidget* owner);

    QScrollBar* scroll_bar(ScrollBar bar) const noexcept;
    IncidenceViewer& viewer() noexcept { return viewer_; }
    // Pixel height of one table line, measured when the window opens.
    int line_height() const noexcept { return line_height_; }

private:
    void on_action(ScrollBar bar, int action);

    IncidenceViewer& viewer_;
    QWidget* table_;
    QScrollBar* vertical_;
    QScrollBar* horizontal_;
    int line_height_;
};

}  // namespace veltra::ui::qt
