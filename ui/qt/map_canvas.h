#pragma once

#include <QWidget>

namespace veltra::ui {
class Shell;
}

namespace veltra::ui::qt {

// The main window's client area: white, with the map view that the shell
// says it shows now, redrawn from the stored projection at every paint (and
// so rescaled whenever the window is resized).
class MapCanvas final : public QWidget {
    Q_OBJECT

public:
    MapCanvas(const Shell& shell, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Shell& shell_;
};

}  // namespace veltra::ui::qt
