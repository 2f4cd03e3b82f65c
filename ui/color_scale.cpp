#include "ui/color_scale.h"

#include <array>
#include <cmath>

namespace veltra::ui {

namespace {

// Nine evenly spaced stops of the scale, joined linearly.
constexpr std::array<Color, 9> STOPS = {{
    {68, 1, 84},
    {72, 40, 120},
    {62, 73, 137},
    {49, 104, 142},
    {38, 130, 142},
    {31, 158, 137},
    {53, 183, 121},
    {110, 206, 88},
    {253, 231, 37},
}};

std::uint8_t between(std::uint8_t a, std::uint8_t b, double f) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
}

// The relative luminance of an sRGB colour.
double luminance(Color color) {
    const auto linear = [](std::uint8_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

}  // namespace

Color scale_color(double position) {
    if (!(position > 0.0)) return STOPS.front();
    if (position >= 1.0) return STOPS.back();
    const double scaled = position * (STOPS.size() - 1);
    const auto index = static_cast<std::size_t>(scaled);
    const double f = scaled - static_cast<double>(index);
    const Color a = STOPS[index];
    const Color b = STOPS[index + 1];
    return {between(a.red, b.red, f), between(a.green, b.green, f), between(a.blue, b.blue, f)};
}

double scale_position(double value, double min, double max) {
    if (!(max > min)) return 0.5;
    if (value >= max) return 1.0;
    if (value <= min) return 0.0;
    // Halved, so that the widths of a range of huge values stay finite.
    const double position = (value / 2 - min / 2) / (max / 2 - min / 2);
    return std::isnan(position) ? 0.5 : position;
}

Color text_color_on(Color background) {
    // Contrast ratios (L1 + 0.05) / (L2 + 0.05) against white and black.
    const double l = luminance(background);
    return 1.05 / (l + 0.05) >= (l + 0.05) / 0.05 ? WHITE : BLACK;
}

}  // namespace veltra::ui
