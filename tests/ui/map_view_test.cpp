#include "ui/map_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/clock.h"

namespace veltra::ui {
namespace {

struct RecordingMessages final : MessageHost {
    std::vector<std::string> boxes;  // "caption|text"
    std::vector<Sound> beeps;
    int open_wait_cursors = 0;

    Answer message_box(std::string_view text, std::string_view caption, Icon, Buttons, bool) override {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
        return Answer::ok;
    }
    void beep(Sound sound) override { beeps.push_back(sound); }
    void begin_wait_cursor() override { ++open_wait_cursors; }
    void end_wait_cursor() override { --open_wait_cursors; }
};

struct FixedWidthMeasurer final : TextMeasurer {
    int text_width(std::string_view text) const override { return 7 * static_cast<int>(text.size()); }
    int line_height() const override { return 13; }
};

// A workspace with a rows x cols map whose prototypes are given row by row.
struct MapFixture {
    core::FixedClock clock{1000};
    core::Workspace ws{clock};

    MapFixture(int rows, int cols, const std::vector<std::vector<double>>& prototypes) {
        ws.rows = rows;
        ws.cols = cols;
        ws.nprotos = rows * cols;
        ws.nvars = static_cast<int>(prototypes.at(0).size());
        ws.prototypes = *core::alloc_matrix(ws.heap, ws.nprotos, ws.nvars);
        for (int p = 0; p < ws.nprotos; ++p) {
            for (int v = 0; v < ws.nvars; ++v) ws.prototypes[p][v] = prototypes.at(p).at(v);
        }
    }
};

// Prototypes at their own map positions, so that the projection keeps them apart.
std::vector<std::vector<double>> grid_prototypes(int rows, int cols) {
    std::vector<std::vector<double>> result;
    for (int p = 0; p < rows * cols; ++p) result.push_back({double(p / cols), double(p % cols) * 1.3});
    return result;
}

std::vector<TextItem> texts(const DisplayList& list) {
    std::vector<TextItem> result;
    for (const auto& item : list) {
        if (const auto* text = std::get_if<TextItem>(&item)) result.push_back(*text);
    }
    return result;
}

// The grid lines as 1-based pairs (smaller, larger): each prototype's lines
// come right before its number, and end at an earlier prototype's point.
std::set<std::pair<int, int>> grid_pairs(const DisplayList& list) {
    std::vector<std::pair<int, int>> points;  // of the numbers drawn so far
    std::set<std::pair<int, int>> pairs;
    for (const auto& item : list) {
        if (const auto* text = std::get_if<TextItem>(&item)) {
            if (text->color == RED) points.emplace_back(text->x + 5, text->y - 5);
        } else if (const auto& line = std::get<LineItem>(item); line.color == GREEN) {
            EXPECT_EQ(line.pen_width, 2);
            const int owner = static_cast<int>(points.size());
            for (int j = 0; j < owner; ++j) {
                if (points[j] == std::pair{line.x2, line.y2}) {
                    pairs.emplace(j + 1, owner + 1);
                    break;
                }
            }
        }
    }
    return pairs;
}

TEST(MapView, JoinsHorizontalAndVerticalNeighboursOnly) {
    const FixedWidthMeasurer measurer;
    RecordingMessages messages;
    const std::set<std::pair<int, int>> chain{{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}};
    for (const auto& [rows, cols] : {std::pair{1, 6}, std::pair{6, 1}}) {
        MapFixture map(rows, cols, grid_prototypes(rows, cols));
        MapView view;
        ASSERT_TRUE(view.recompute(map.ws, messages));
        EXPECT_EQ(grid_pairs(view.draw(map.ws, 640, 480, measurer)), chain) << rows << " x " << cols;
    }

    MapFixture two_by_three(2, 3, grid_prototypes(2, 3));
    MapView view;
    ASSERT_TRUE(view.recompute(two_by_three.ws, messages));
    const DisplayList list = view.draw(two_by_three.ws, 640, 480, measurer);
    EXPECT_EQ(grid_pairs(list),
              (std::set<std::pair<int, int>>{{1, 2}, {2, 3}, {4, 5}, {5, 6}, {1, 4}, {2, 5}, {3, 6}}));
    int green_lines = 0;
    for (const auto& item : list) {
        if (const auto* line = std::get_if<LineItem>(&item); line && line->color == GREEN) ++green_lines;
    }
    EXPECT_EQ(green_lines, 7);

    MapFixture three_by_three(3, 3, grid_prototypes(3, 3));
    ASSERT_TRUE(view.recompute(three_by_three.ws, messages));
    const auto pairs = grid_pairs(view.draw(three_by_three.ws, 640, 480, measurer));
    EXPECT_EQ(pairs.size(), 12u);
    EXPECT_FALSE(pairs.contains({1, 5}));
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(messages.open_wait_cursors, 0);
}

// A seed for which the two initial points of a 2-point projection share their
// x, so the projection stays vertical: y = -0.5 and 0.5, x = 0.
std::int64_t seed_with_vertical_start() {
    for (std::int64_t t = 0;; ++t) {
        core::FixedClock clock(t);
        core::RandomGenerator random(clock);
        random.seed_random_from_clock();
        const int first = random.draw_random() % 2;
        if (first == random.draw_random() % 2) return t;
    }
}

TEST(MapView, DrawsAxesAndExtentLabelsAndRescalesOnResize) {
    MapFixture map(1, 2, {{0.0}, {1.0}});
    map.clock.set(seed_with_vertical_start());
    RecordingMessages messages;
    const FixedWidthMeasurer measurer;
    MapView view;
    ASSERT_TRUE(view.recompute(map.ws, messages));

    const DisplayList list = view.draw(map.ws, 640, 480, measurer);
    ASSERT_GE(list.size(), 7u);
    EXPECT_EQ(std::get<LineItem>(list[0]), (LineItem{BLUE, 1, 35, 20, 35, 445}));
    EXPECT_EQ(std::get<LineItem>(list[1]), (LineItem{BLUE, 1, 35, 445, 620, 445}));
    const auto labels = texts(list);
    EXPECT_EQ(labels[0], (TextItem{"-0.5000    ", BLUE, 5, 425}));   // y_min
    EXPECT_EQ(labels[1], (TextItem{"0.5000     ", BLUE, 5, 10}));    // y_max
    EXPECT_EQ(labels[2], (TextItem{"0.0000     ", BLUE, 40, 450}));  // x_min
    EXPECT_EQ(labels[3], (TextItem{"0.0000     ", BLUE, 640 - 77 - 20, 450}));
    ASSERT_EQ(labels[4].text.substr(0, 17), "Sammon's stress: ");
    EXPECT_EQ(labels[4].text.size(), 28u);
    EXPECT_EQ(labels[4].x, 640 - 7 * 28 - 20);
    // All x equal: the points stand in the middle of the plotting width; the
    // lower point on the x axis, the upper one at the top of the rectangle.
    const int bottom = map.ws.projection_y[0] < map.ws.projection_y[1] ? 0 : 1;
    EXPECT_EQ(labels[5 + bottom], (TextItem{std::to_string(bottom + 1), RED, 40 + 290 - 5, 440 + 5, false}));
    EXPECT_EQ(labels[6 - bottom].x, 40 + 290 - 5);
    EXPECT_NEAR(labels[6 - bottom].y, 20 + 5, 1);  // the scale times the extent may round below 420

    const auto resized = texts(view.draw(map.ws, 320, 200, measurer));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(resized[i].text, labels[i].text);
    EXPECT_EQ(resized[4].text, labels[4].text);
    EXPECT_EQ(resized[5 + bottom].y, 160 + 5);
    EXPECT_EQ(resized[6 - bottom].x, 40 + 130 - 5);
}

TEST(MapView, DegenerateProjectionsAndClientSizesDrawFinitePositions) {
    const FixedWidthMeasurer measurer;
    RecordingMessages messages;
    MapView view;

    MapFixture single(1, 1, {{3.0, 4.0}});
    ASSERT_TRUE(view.recompute(single.ws, messages));
    EXPECT_EQ(view.stress(), 0.0);
    auto labels = texts(view.draw(single.ws, 640, 480, measurer));
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels[5], (TextItem{"1", RED, 40 + 290 - 5, 440 - 210 + 5, false}));

    MapFixture equal(2, 2, {{1.0}, {1.0}, {1.0}, {1.0}});
    ASSERT_TRUE(view.recompute(equal.ws, messages));
    EXPECT_EQ(view.stress(), 0.0);
    for (const auto& text : texts(view.draw(equal.ws, 640, 480, measurer))) {
        EXPECT_EQ(text.text.find("nan"), std::string::npos) << text.text;
    }

    // Too small a client area turns the scales to zero or below; it still draws.
    MapFixture grid(2, 2, grid_prototypes(2, 2));
    ASSERT_TRUE(view.recompute(grid.ws, messages));
    EXPECT_EQ(grid_pairs(view.draw(grid.ws, 50, 30, measurer)).size(), 4u);
    EXPECT_EQ(view.draw(grid.ws, 0, 0, measurer).size(), view.draw(grid.ws, 640, 480, measurer).size());

    // Coordinates of some 1e150 give labels of over 150 digits, drawn whole,
    // while the points stay on the plotting rectangle.
    MapFixture far(1, 3, {{0.0}, {1e150}, {3e150}});
    ASSERT_TRUE(view.recompute(far.ws, messages));
    labels = texts(view.draw(far.ws, 640, 480, measurer));
    EXPECT_GT(labels[0].text.size(), 150u);
    EXPECT_EQ(labels[0].text.substr(labels[0].text.size() - 5),
              labels[0].text.substr(labels[0].text.find('.'), 5));
    EXPECT_EQ(labels[3].x, 640 - measurer.text_width(labels[3].text) - 20);
    for (int i = 5; i < 8; ++i) {
        EXPECT_GE(labels[i].x, 35);
        EXPECT_LE(labels[i].x, 615);
    }
    EXPECT_TRUE(messages.boxes.empty());
}

TEST(MapView, FailedRecomputeReportsMemoryAndDrawsNothing) {
    const FixedWidthMeasurer measurer;
    MapFixture map(2, 2, grid_prototypes(2, 2));
    MapView view;
    RecordingMessages messages;
    ASSERT_TRUE(view.recompute(map.ws, messages));
    ASSERT_FALSE(view.draw(map.ws, 640, 480, measurer).empty());

    // Budgets 0 and 1 refuse the projection vectors, 2 to 4 the working storage.
    for (std::size_t budget = 0; budget < 5; ++budget) {
        map.ws.heap.set_allocation_budget(budget);
        messages.boxes.clear();
        messages.beeps.clear();
        EXPECT_FALSE(view.recompute(map.ws, messages)) << budget;
        EXPECT_EQ(messages.boxes, std::vector<std::string>{"Not Enough Memory|Can not run calculation!"});
        EXPECT_EQ(messages.beeps, std::vector<Sound>{Sound::error});
        EXPECT_EQ(messages.open_wait_cursors, 0);
        EXPECT_TRUE(view.draw(map.ws, 640, 480, measurer).empty());
    }
    map.ws.heap.set_allocation_budget(std::nullopt);
    ASSERT_TRUE(view.recompute(map.ws, messages));
    EXPECT_EQ(grid_pairs(view.draw(map.ws, 640, 480, measurer)).size(), 4u);

    // A projection of another map is not drawn from.
    map.ws.nprotos = 1;
    EXPECT_TRUE(view.draw(map.ws, 640, 480, measurer).empty());
}

// Off (the default) each axis spans the plotting area; on, both get the
// scale of the tighter one and the other is centred.
TEST(MapView, KeepAspectRatioGivesBothAxesOneScale) {
    MapFixture map(2, 3, grid_prototypes(2, 3));
    RecordingMessages messages;
    const FixedWidthMeasurer measurer;
    MapView view;
    ASSERT_TRUE(view.recompute(map.ws, messages));
    const auto scales = [&](const DisplayList& list) {
        int x_min = INT32_MAX, x_max = INT32_MIN, y_min = INT32_MAX, y_max = INT32_MIN;
        for (const TextItem& text : texts(list)) {
            if (text.color != RED) continue;
            x_min = std::min(x_min, text.x + 5);
            x_max = std::max(x_max, text.x + 5);
            y_min = std::min(y_min, text.y - 5);
            y_max = std::max(y_max, text.y - 5);
        }
        const auto [px_min, px_max] =
            std::minmax_element(map.ws.projection_x.data(), map.ws.projection_x.data() + 6);
        const auto [py_min, py_max] =
            std::minmax_element(map.ws.projection_y.data(), map.ws.projection_y.data() + 6);
        return std::pair{(x_max - x_min) / (*px_max - *px_min), (y_max - y_min) / (*py_max - *py_min)};
    };
    EXPECT_FALSE(view.keeps_aspect_ratio());
    const auto [x_free, y_free] = scales(view.draw(map.ws, 900, 300, measurer));
    EXPECT_GT(std::abs(x_free - y_free), 0.1 * y_free);
    view.set_keep_aspect_ratio(true);
    for (const auto& [width, height] : {std::pair{900, 300}, {300, 900}}) {
        const auto [x_kept, y_kept] = scales(view.draw(map.ws, width, height, measurer));
        EXPECT_NEAR(x_kept, y_kept, 0.02 * y_kept) << width;
    }
}

}  // namespace
}  // namespace veltra::ui
