#pragma once

#include <QWidget>

#include "ui/map_views.h"

namespace veltra::ui {
class Shell;
class ShellHost;
}  // namespace veltra::ui

namespace veltra::ui::qt {

// The canvas of a view: white, with the view drawn from the current
// prototypes at every paint (and so rescaled whenever it is resized).
class ViewCanvas final : public QWidget {
    Q_OBJECT

public:
    ViewCanvas(ViewKind kind, Shell& shell, QWidget* parent);
    // The view's picture for width x height.
    DisplayList draw(int width, int height, const TextMeasurer& measurer) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ViewKind kind_;
    Shell& shell_;
};

// One view in its own resizable window beside the main window, with
// "Save picture..." in its Picture menu and its help topic on F1. It
// deletes itself when closed.
class ViewWindow final : public QWidget {
    Q_OBJECT

public:
    ViewWindow(ViewKind kind, Shell& shell, ShellHost& host, QWidget* parent);

    ViewKind kind() const noexcept { return kind_; }
    ViewCanvas& canvas() noexcept { return *canvas_; }
    // Repaints the view at once, also while a computation holds the event
    // loop (the prototypes changed).
    void follow();
    void save_picture();

private:
    ViewKind kind_;
    ShellHost& host_;
    ViewCanvas* canvas_;
};

}  // namespace veltra::ui::qt
