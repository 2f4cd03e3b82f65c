#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace veltra::ui {

// A rectangle in dialog units (or pixels where stated).
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class ControlKind {
    group_box,
    static_text,          // left-aligned
    centered_static,      // centred value field
    edit,                 // bordered, tab stop, starts a group, no horizontal scrolling
    push_button,          // tab stop
    arrow_button,         // the "<" and ">" steppers: no tab stop
    default_push_button,  // tab stop; Enter presses it
    icon,                 // the application icon
};

struct ControlTemplate {
    int id;  // -1 for a static text nobody addresses
    ControlKind kind;
    std::string_view text;
    Rect rect;
};

// Window style bits of a dialog template.
enum DialogStyle : std::uint32_t {
    STYLE_CAPTION = 1u << 0,
    STYLE_SYSTEM_MENU = 1u << 1,  // close box
    STYLE_MODAL_FRAME = 1u << 2,
    STYLE_SIZING_BORDER = 1u << 3,
    STYLE_MAXIMIZE_BOX = 1u << 4,
    STYLE_VERTICAL_SCROLL = 1u << 5,
    STYLE_HORIZONTAL_SCROLL = 1u << 6,
    STYLE_THIN_BORDER = 1u << 7,
};

// A dialog as data: controls in template order, which is also the tab order.
struct DialogTemplate {
    std::string_view name;  // "IMPORTFILTER", "SOM", ...
    std::string_view title;
    std::string_view font_name;
    int font_points;
    Rect rect;  // position and size in dialog units
    std::uint32_t style;
    std::span<const ControlTemplate> controls;
};

}  // namespace veltra::ui
