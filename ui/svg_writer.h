#pragma once

#include <string>

#include "ui/display_list.h"

namespace veltra::ui {

// The text metrics of the SVG pictures: a monospace font of 7 pixels per character
// and 13 pixels per line. The SVG pictures draw text with exactly these
// metrics, so what was measured is what is drawn.
class MonospaceMeasurer final : public TextMeasurer {
public:
    static constexpr int CHARACTER_WIDTH = 7;
    static constexpr int LINE_HEIGHT = 13;

    int text_width(std::string_view text) const override;
    int line_height() const override { return LINE_HEIGHT; }
};

// The display list as an SVG document of width x height pixels: a white
// background, then every item in order; texts with their top-left corner at
// the item's position on an opaque white box of the measured size.
std::string svg_document(const DisplayList& list, int width, int height, const MonospaceMeasurer& measurer);

// Writes svg_document to `path`, replacing the file whole or not at all (see
// io::AtomicFile). False when the file cannot be created or written
// completely; an existing file then keeps its bytes.
[[nodiscard]] bool write_svg_file(const std::string& path, const DisplayList& list, int width, int height,
                                  const MonospaceMeasurer& measurer);

}  // namespace veltra::ui
