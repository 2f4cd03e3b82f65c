#pragma once

#include <QFont>
#include <functional>
#include <string>

#include "ui/display_list.h"

class QWidget;

namespace veltra::ui {
class MessageHost;
class ShellHost;
}  // namespace veltra::ui

namespace veltra::ui::qt {

// What a window draws for a client area of width x height pixels.
using PictureSource = std::function<DisplayList(int width, int height, const TextMeasurer& measurer)>;

// Writes the picture of `source` at width x height into `path`, replacing the
// file whole or not at all: SVG (with the SVG writer's font metrics) when the
// name ends in ".svg", else PNG drawn in `font`. False when it cannot be
// written.
[[nodiscard]] bool write_picture(const std::string& path, const PictureSource& source, int width, int height,
                                 const QFont& font);

// "Save picture...": asks for a file name through `host` (".png" is added to
// a name without ".png" or ".svg") and writes the picture at the size of
// `window`; an error box when it cannot be written.
void save_picture(ShellHost& host, const QWidget& window, const PictureSource& source);

}  // namespace veltra::ui::qt
