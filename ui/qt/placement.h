#pragma once

class QWidget;

namespace veltra::ui::qt {

// Margin between a bottom-right window and the screen's edges, in pixels.
inline constexpr int BOTTOM_RIGHT_MARGIN = 20;

// Moves a top-level window to the middle of its screen:
// left = (screen width - window width) / 2, top likewise; size unchanged.
void center_on_screen(QWidget& window);

// Moves a top-level window to the bottom-right corner of its screen:
// left = screen width - window width - 20, top likewise.
void place_bottom_right(QWidget& window);

}  // namespace veltra::ui::qt
