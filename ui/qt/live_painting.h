#pragma once

class QWidget;

namespace veltra::ui::qt {

// The computations run on the user-interface thread without an event loop.
// These let the window system show what they report without letting any
// user input (keys, mouse, close requests) in.

// Serves window-system events until `window` is on screen (the window
// manager has mapped and exposed it), at most for a second; then paints it
// whole.
void show_now(QWidget& window);

// Paints `widget` at once and serves the pending window-system events, so
// that the rest of its window that was uncovered or moved meanwhile is
// painted too.
void paint_now(QWidget& widget);

}  // namespace veltra::ui::qt
