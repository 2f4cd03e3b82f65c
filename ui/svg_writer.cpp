#include "ui/svg_writer.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "io/atomic_file.h"

namespace veltra::ui {

namespace {

// Baseline of the 12-pixel monospace font below the top of its 13-pixel line.
constexpr int BASELINE = 10;

std::string color_text(const Color& color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned{color.red}, unsigned{color.green},
                  unsigned{color.blue});
    return text;
}

std::string escaped(std::string_view text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
            case '&':
                result += "&amp;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            default:
                result += c;
        }
    }
    return result;
}

void append_line(std::string& svg, const LineItem& line) {
    svg += "<line x1=\"" + std::to_string(line.x1) + "\" y1=\"" + std::to_string(line.y1) + "\" x2=\"" +
           std::to_string(line.x2) + "\" y2=\"" + std::to_string(line.y2) + "\" stroke=\"" +
           color_text(line.color) + "\" stroke-width=\"" + std::to_string(line.pen_width) + "\"/>\n";
}

void append_rect(std::string& svg, const RectItem& rect) {
    svg += "<rect x=\"" + std::to_string(rect.x) + "\" y=\"" + std::to_string(rect.y) + "\" width=\"" +
           std::to_string(rect.width) + "\" height=\"" + std::to_string(rect.height) + "\" fill=\"" +
           color_text(rect.fill) + "\" stroke=\"none\"/>\n";
}

void append_text(std::string& svg, const TextItem& text, const MonospaceMeasurer& measurer) {
    const std::string x = std::to_string(text.x);
    const std::string width = std::to_string(measurer.text_width(text.text));
    if (text.opaque) {
        svg += "<rect x=\"" + x + "\" y=\"" + std::to_string(text.y) + "\" width=\"" + width +
               "\" height=\"" + std::to_string(measurer.line_height()) +
               "\" fill=\"#ffffff\" stroke=\"none\"/>\n";
    }
    // The text is stretched to exactly its measured width, whatever the
    // viewer's monospace font.
    svg += "<text x=\"" + x + "\" y=\"" + std::to_string(static_cast<long long>(text.y) + BASELINE) +
           "\" fill=\"" + color_text(text.color) + "\" textLength=\"" + width +
           "\" lengthAdjust=\"spacingAndGlyphs\">" + escaped(text.text) + "</text>\n";
}

}  // namespace

int MonospaceMeasurer::text_width(std::string_view text) const {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX / CHARACTER_WIDTH)) * CHARACTER_WIDTH;
}

std::string svg_document(const DisplayList& list, int width, int height, const MonospaceMeasurer& measurer) {
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
        "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
        "\" font-family=\"monospace\" font-size=\"12\" xml:space=\"preserve\">\n";
    svg +=
        "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\" stroke=\"none\"/>\n";
    for (const DisplayItem& item : list) {
        if (const auto* line = std::get_if<LineItem>(&item)) {
            append_line(svg, *line);
        } else if (const auto* rect = std::get_if<RectItem>(&item)) {
            append_rect(svg, *rect);
        } else {
            append_text(svg, std::get<TextItem>(item), measurer);
        }
    }
    svg += "</svg>\n";
    return svg;
}

bool write_svg_file(const std::string& path, const DisplayList& list, int width, int height,
                    const MonospaceMeasurer& measurer) {
    return io::write_file_atomically(path, svg_document(list, width, height, measurer));
}

}  // namespace veltra::ui
