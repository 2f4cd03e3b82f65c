#pragma once

class QWidget;

namespace veltra::ui::qt {

// Margin between a bottom-right window and the screen's edges, in pixels.
inline constexpr int BOTTOM_RIGHT_MARGIN = 20;

// Both place a top-level window by its outer size (with the window
// manager's frame, once the window is shown) within the screen's available
// area (without panels), and never beyond that area's edges.

// Moves a top-level window to the middle of that area:
// left = (area width - window width) / 2, top likewise; size unchanged.
void center_on_screen(QWidget& window);

// Moves a top-level window to the bottom-right corner of that area:
// left = area width - window width - 20, top likewise.
void place_bottom_right(QWidget& window);

}  // namespace veltra::ui::qt
