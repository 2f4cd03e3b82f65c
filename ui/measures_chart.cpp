#include "ui/measures_chart.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ui/color_scale.h"
#include "ui/grid_panel.h"

namespace veltra::ui {

namespace {

constexpr int MAX_CLIENT_SIZE = 1 << 24;
constexpr int MARGIN = 6;
constexpr Color AXIS_GRAY{120, 120, 120};

struct Series {
    const char* title;
    double (*value)(const algorithms::EpochReport&);
    double position_on_scale;  // the series' colour, dark enough to read on white
};

constexpr Series SERIES[] = {
    {"Heterogeneity", [](const algorithms::EpochReport& r) { return r.heterogeneity; }, 0.0},
    {"Simplicity", [](const algorithms::EpochReport& r) { return r.simplicity; }, 0.45},
    {"Violations (%)", [](const algorithms::EpochReport& r) { return r.violations; }, 0.7},
};

// Pixel offset of `value` along an axis of `span` pixels, as on the scale.
int offset(double value, double min, double max, int span) {
    return static_cast<int>(std::lround(scale_position(value, min, max) * span));
}

void draw_series(const Series& series, const std::vector<algorithms::EpochReport>& epochs, Box box,
                 const TextMeasurer& measurer, DisplayList& list) {
    const int line = measurer.line_height();
    double min = series.value(epochs.front());
    double max = min;
    for (const auto& report : epochs) {
        min = std::min(min, series.value(report));
        max = std::max(max, series.value(report));
    }
    const std::string top = short_number(max, 6);
    const std::string bottom = short_number(min, 6);
    const int label_width = std::max(measurer.text_width(top), measurer.text_width(bottom));
    const Color color = scale_color(series.position_on_scale);
    const Box plot{box.x + label_width + 8, box.y + line + 2, box.width - label_width - 8,
                   box.height - 2 * line - 4};
    // Too small to read: nothing rather than texts beyond the area.
    if (plot.width < 2 || plot.height < line) return;
    list.push_back(TextItem{fitted_text(series.title, plot.width, measurer), color, plot.x, box.y, false});
    const int bottom_y = plot.y + plot.height - 1;
    list.push_back(LineItem{AXIS_GRAY, 1, plot.x, plot.y, plot.x, bottom_y});
    list.push_back(LineItem{AXIS_GRAY, 1, plot.x, bottom_y, plot.x + plot.width - 1, bottom_y});
    list.push_back(TextItem{top, BLACK, box.x, plot.y, false});
    if (max > min) list.push_back(TextItem{bottom, BLACK, box.x, bottom_y - line + 1, false});
    const double first = epochs.front().epochs;
    const double last = epochs.back().epochs;
    const std::string first_text = "epoch " + std::to_string(epochs.front().epochs);
    const std::string last_text = std::to_string(epochs.back().epochs);
    list.push_back(
        TextItem{fitted_text(first_text, plot.width, measurer), BLACK, plot.x, bottom_y + 2, false});
    if (epochs.size() > 1 && measurer.text_width(first_text + " " + last_text) <= plot.width) {
        list.push_back(TextItem{last_text, BLACK, plot.x + plot.width - measurer.text_width(last_text),
                                bottom_y + 2, false});
    }
    const auto x_of = [&](const algorithms::EpochReport& r) {
        return plot.x + offset(r.epochs, first, last, plot.width - 1);
    };
    const auto y_of = [&](const algorithms::EpochReport& r) {
        return bottom_y - offset(series.value(r), min, max, plot.height - 1);
    };
    if (epochs.size() == 1) {
        list.push_back(RectItem{color, x_of(epochs.front()) - 1, y_of(epochs.front()) - 1, 3, 3});
        return;
    }
    for (std::size_t i = 1; i < epochs.size(); ++i) {
        list.push_back(
            LineItem{color, 2, x_of(epochs[i - 1]), y_of(epochs[i - 1]), x_of(epochs[i]), y_of(epochs[i])});
    }
}

}  // namespace

DisplayList draw_measures_chart(const std::vector<algorithms::EpochReport>& epochs, int width, int height,
                                const TextMeasurer& measurer) {
    const int w = std::clamp(width, 0, MAX_CLIENT_SIZE);
    const int h = std::clamp(height, 0, MAX_CLIENT_SIZE);
    DisplayList list;
    if (epochs.empty()) {
        list.push_back(TextItem{
            fitted_text("No epochs trained since the prototypes were set.", w - 2 * MARGIN, measurer), BLACK,
            MARGIN, MARGIN, false});
        return list;
    }
    const int count = static_cast<int>(std::size(SERIES));
    const int each = (h - MARGIN) / count;
    for (int s = 0; s < count; ++s) {
        draw_series(SERIES[s], epochs, {MARGIN, MARGIN + s * each, w - 2 * MARGIN, each - MARGIN}, measurer,
                    list);
    }
    return list;
}

}  // namespace veltra::ui
