#include "ui/map_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "algorithms/sammon.h"

namespace veltra::ui {

namespace {

// Client sizes are clamped to this, and pixel offsets to a few times it, so
// that every coordinate sum stays far inside the int range.
constexpr int MAX_CLIENT_SIZE = 1 << 24;
constexpr double MAX_OFFSET = 4.0 * MAX_CLIENT_SIZE;

// "%-11.4f" in full, however many digits the value has.
std::string format_extent(double value) {
    const int length = std::snprintf(nullptr, 0, "%-11.4f", value);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, "%-11.4f", value);
    return text;
}

// trunc((value - min) * (span / (max - min))), the pixel offset of a
// coordinate along an axis. A zero extent (all coordinates equal, e.g. a
// single prototype) has no scale: its points go to the middle of the span.
// A product that is not a number is placed in the middle too, and one beyond
// any screen is clamped, so that it is never converted to int out of range.
int pixel_offset(double value, double min, double max, int span) {
    double offset;
    if (max - min == 0.0) {
        offset = span / 2.0;
    } else {
        const double scale = span / (max - min);
        offset = (value - min) * scale;
        if (std::isnan(offset)) offset = span / 2.0;
    }
    return static_cast<int>(std::trunc(std::clamp(offset, -MAX_OFFSET, MAX_OFFSET)));
}

bool joined_on_map(int i, int j, int cols) { return (i - j == 1 && (j + 1) % cols != 0) || i - j == cols; }

}  // namespace

bool MapView::recompute(core::Workspace& ws, MessageHost& host) {
    host.begin_wait_cursor();
    valid_ = false;
    core::release_block(ws.projection_x);
    core::release_block(ws.projection_y);
    bool ok = false;
    if (auto x = core::alloc_real_vector(ws.heap, ws.nprotos)) {
        ws.projection_x = std::move(*x);
        if (auto y = core::alloc_real_vector(ws.heap, ws.nprotos)) {
            ws.projection_y = std::move(*y);
            ok = algorithms::sammon_project(ws.prototypes, ws.projection_x.data(), ws.projection_y.data(),
                                            ws.nprotos, ws.nvars, algorithms::SAMMON_ITERATIONS, stress_,
                                            ws.heap, ws.random);
        }
    }
    if (!ok) {
        host.beep(Sound::error);
        host.message_box("Can not run calculation!", "Not Enough Memory", Icon::error);
        host.end_wait_cursor();
        return false;
    }
    x_min_ = x_max_ = ws.projection_x[0];
    y_min_ = y_max_ = ws.projection_y[0];
    for (std::int32_t i = 1; i < ws.nprotos; ++i) {
        if (ws.projection_x[i] < x_min_) x_min_ = ws.projection_x[i];
        if (ws.projection_x[i] > x_max_) x_max_ = ws.projection_x[i];
        if (ws.projection_y[i] < y_min_) y_min_ = ws.projection_y[i];
        if (ws.projection_y[i] > y_max_) y_max_ = ws.projection_y[i];
    }
    valid_ = true;
    host.end_wait_cursor();
    return true;
}

DisplayList MapView::draw(const core::Workspace& ws, int width, int height,
                          const TextMeasurer& measurer) const {
    const int n = ws.nprotos;
    // A projection of another map (or none) is never drawn.
    if (!valid_ || n < 1 || ws.cols < 1 || ws.projection_x.size() != n || ws.projection_y.size() != n) {
        return {};
    }
    const int w = std::clamp(width, 0, MAX_CLIENT_SIZE);
    const int h = std::clamp(height, 0, MAX_CLIENT_SIZE);

    DisplayList list;
    list.push_back(LineItem{BLUE, 1, 35, 20, 35, h - 35});
    list.push_back(LineItem{BLUE, 1, 35, h - 35, w - 20, h - 35});
    const auto right_aligned = [&](std::string text, int y) {
        const int x = w - measurer.text_width(text) - 20;
        list.push_back(TextItem{std::move(text), BLUE, x, y});
    };
    list.push_back(TextItem{format_extent(y_min_), BLUE, 5, h - 55});
    list.push_back(TextItem{format_extent(y_max_), BLUE, 5, 10});
    list.push_back(TextItem{format_extent(x_min_), BLUE, 40, h - 30});
    right_aligned(format_extent(x_max_), h - 30);
    right_aligned("Sammon's stress: " + format_extent(stress_), 10);

    // With the aspect ratio kept, the axis with room to spare is shortened to
    // the other's scale and its points centred on the span.
    int x_span = w - 60;
    int y_span = h - 60;
    if (keep_aspect_ratio_ && x_max_ > x_min_ && y_max_ > y_min_ && std::isfinite(x_max_ - x_min_) &&
        std::isfinite(y_max_ - y_min_) && x_span > 0 && y_span > 0) {
        const double scale = std::min(x_span / (x_max_ - x_min_), y_span / (y_max_ - y_min_));
        x_span = static_cast<int>(std::clamp(scale * (x_max_ - x_min_), 0.0, static_cast<double>(x_span)));
        y_span = static_cast<int>(std::clamp(scale * (y_max_ - y_min_), 0.0, static_cast<double>(y_span)));
    }
    const int x_shift = (w - 60 - x_span) / 2;
    const int y_shift = (h - 60 - y_span) / 2;
    std::vector<int> px(static_cast<std::size_t>(n));
    std::vector<int> py(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        px[i] = 40 + x_shift + pixel_offset(ws.projection_x[i], x_min_, x_max_, x_span);
        py[i] = h - 40 - y_shift - pixel_offset(ws.projection_y[i], y_min_, y_max_, y_span);
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            if (joined_on_map(i, j, ws.cols)) list.push_back(LineItem{GREEN, 2, px[i], py[i], px[j], py[j]});
        }
        // Without a box, so that a number near an axis never hides an
        // extent's digits or its minus sign.
        list.push_back(TextItem{std::to_string(i + 1), RED, px[i] - 5, py[i] + 5, false});
    }
    return list;
}

}  // namespace veltra::ui
