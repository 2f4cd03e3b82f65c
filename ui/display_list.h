#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace veltra::ui {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color BLACK{0, 0, 0};
inline constexpr Color BLUE{0, 0, 255};
inline constexpr Color GREEN{0, 255, 0};
inline constexpr Color RED{255, 0, 0};
inline constexpr Color WHITE{255, 255, 255};

// A solid line in client pixels.
struct LineItem {
    Color color;
    int pen_width;
    int x1, y1, x2, y2;
    friend bool operator==(const LineItem&, const LineItem&) = default;
};

// A text with its top-left corner at (x, y), in the default font. An opaque
// text stands on a white box that hides what was drawn under it; any other
// text leaves it visible between its letters.
struct TextItem {
    std::string text;
    Color color;
    int x, y;
    bool opaque = true;
    friend bool operator==(const TextItem&, const TextItem&) = default;
};

// A filled rectangle without an outline: x..x+width-1, y..y+height-1.
struct RectItem {
    Color fill;
    int x, y, width, height;
    friend bool operator==(const RectItem&, const RectItem&) = default;
};

// What to draw on a white client area, in drawing order: later items cover
// earlier ones.
using DisplayItem = std::variant<LineItem, TextItem, RectItem>;
using DisplayList = std::vector<DisplayItem>;

// Measures text in the default font of the window that will show it.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int text_width(std::string_view text) const = 0;
    virtual int line_height() const = 0;
};

}  // namespace veltra::ui
