#include "ui/map_views.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>

#include "core/measures_plain.h"
#include "tests/support/workspace_setup.h"
#include "ui/color_scale.h"
#include "ui/svg_writer.h"
#include "ui/view_numbers.h"

namespace veltra::ui {
namespace {

constexpr std::int32_t NDATA = 40;
constexpr std::int32_t NVARS = 3;

// NDATA random datavectors with labels "a".."c" on a rows x cols map with
// random prototypes; variable 1 scaled by 2 around 10.
void random_session(core::Workspace& ws, const veltra::testing::TempDirectory& dir, std::int32_t rows,
                    std::int32_t cols, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-5.0, 5.0);
    std::string text;
    for (int i = 0; i < NDATA * NVARS; ++i)
        text += std::to_string(value(generator)) + (i % NVARS == 2 ? "\n" : " ");
    veltra::testing::prepare_map(ws, dir, text, NDATA, NVARS, rows, cols);
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        for (std::int32_t k = 0; k < NVARS; ++k) ws.prototypes[p][k] = value(generator);
    }
    ws.availability.raise(core::AvailabilityEvent::begin_initialization);
    ws.availability.raise(core::AvailabilityEvent::prototypes_set);
    for (std::int32_t i = 0; i < NDATA; ++i)
        ws.annotations.labels.push_back(std::string(1, static_cast<char>('a' + i % 3)));
    ws.annotations.offsets = {0.0, 10.0, 0.0};
    ws.annotations.scales = {1.0, 2.0, 1.0};
    ws.availability.raise(core::AvailabilityEvent::labels_read);
}

TEST(ViewNumbers, MatchPlainComputationsOnSmallMaps) {
    const std::pair<std::int32_t, std::int32_t> shapes[] = {{1, 1}, {1, 3}, {2, 3}, {6, 6}};
    for (const auto& [rows, cols] : shapes) {
        SCOPED_TRACE(std::to_string(rows) + "x" + std::to_string(cols));
        const veltra::testing::TempDirectory dir;
        core::Workspace ws;
        random_session(ws, dir, rows, cols, static_cast<unsigned>(rows * 10 + cols));
        std::vector<std::int32_t> counts(static_cast<std::size_t>(ws.nprotos), 0);
        std::vector<std::map<std::string, int>> tallies(counts.size());
        for (std::int32_t i = 0; i < NDATA; ++i) {
            const std::int32_t w = core::plain::find_winner(ws.prototypes, ws.nprotos, ws.data, i, NVARS);
            ++counts[static_cast<std::size_t>(w)];
            ++tallies[static_cast<std::size_t>(w)][ws.annotations.labels[static_cast<std::size_t>(i)]];
        }
        EXPECT_EQ(hit_counts(ws), counts);

        const std::vector<double> u = u_matrix_values(ws);
        const std::vector<double> plane = component_values(ws, 1);
        const std::vector<LabelCell> labels = label_cells(ws);
        for (std::int32_t p = 0; p < ws.nprotos; ++p) {
            const auto q = static_cast<std::size_t>(p);
            // Grid neighbours by map position, diagonals included.
            double sum = 0.0;
            int n = 0;
            for (std::int32_t o = 0; o < ws.nprotos; ++o) {
                const int dr = std::abs(o / cols - p / cols);
                const int dc = std::abs(o % cols - p % cols);
                if (o == p || dr > 1 || dc > 1) continue;
                sum += std::sqrt(core::plain::squared_distance(ws.prototypes[p], ws.prototypes[o], NVARS));
                ++n;
            }
            EXPECT_EQ(u[q], n == 0 ? 0.0 : sum / n) << p;
            EXPECT_EQ(plane[q], ws.prototypes[p][1] * 2.0 + 10.0) << p;
            // "a", "b", "c" are first seen in that order, so the first largest wins.
            std::string best;
            int most = 0;
            for (const auto& [label, count] : tallies[q]) {
                if (count > most) best = label, most = count;
            }
            EXPECT_EQ(labels[q], (LabelCell{best, most == 0 ? 0.0 : static_cast<double>(most) / counts[q]}))
                << p;
        }
    }
}

TEST(ViewNumbers, EqualPrototypesAndExtremeValuesStayFinite) {
    const veltra::testing::TempDirectory dir;
    core::Workspace ws;
    random_session(ws, dir, 2, 3, 7);
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        for (std::int32_t k = 0; k < NVARS; ++k) ws.prototypes[p][k] = 1.5;
    }
    // All tie: the first prototype wins everything; no distances between them.
    EXPECT_EQ(hit_counts(ws), (std::vector<std::int32_t>{NDATA, 0, 0, 0, 0, 0}));
    EXPECT_EQ(u_matrix_values(ws), std::vector<double>(6, 0.0));
    EXPECT_EQ(label_cells(ws)[0], (LabelCell{"a", 14.0 / 40.0}));
    EXPECT_EQ(label_cells(ws)[1], LabelCell{});

    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        for (std::int32_t k = 0; k < NVARS; ++k) ws.prototypes[p][k] = (p + k) % 2 == 0 ? 1e308 : -1e308;
    }
    for (const double value : u_matrix_values(ws)) EXPECT_FALSE(std::isnan(value));
    for (const double value : component_values(ws, 1)) EXPECT_FALSE(std::isnan(value));
    for (const double position : {scale_position(1e308, -1e308, 1e308), scale_position(0.0, -1e308, 1e308),
                                  scale_position(INFINITY, 0.0, INFINITY), scale_position(NAN, 0.0, 1.0),
                                  scale_position(3.0, 3.0, 3.0)}) {
        EXPECT_TRUE(position >= 0.0 && position <= 1.0) << position;
    }
    const MonospaceMeasurer measurer;
    for (const ViewKind kind : ALL_VIEWS) EXPECT_FALSE(draw_view(kind, ws, {}, 640, 480, measurer).empty());
}

bool inside(const TextItem& text, const RectItem& box, const TextMeasurer& measurer) {
    return text.x >= box.x && text.y >= box.y &&
           text.x + measurer.text_width(text.text) <= box.x + box.width &&
           text.y + measurer.line_height() <= box.y + box.height;
}

bool overlaps(const TextItem& text, const RectItem& box, const TextMeasurer& measurer) {
    return text.x < box.x + box.width && box.x < text.x + measurer.text_width(text.text) &&
           text.y < box.y + box.height && box.y < text.y + measurer.line_height();
}

// Texts stay inside the picture, and a text on a cell stays inside that cell;
// every shaded view has its legend's ends written out.
TEST(MapViews, TextsKeepToTheirCellsAndLegendsArePresent) {
    const veltra::testing::TempDirectory dir;
    core::Workspace ws;
    random_session(ws, dir, 6, 6, 3);
    MeasuresHistory history;
    history.record({1, 40, 2.0, 1.0, 3.0, 10.0, {}});
    history.record({2, 80, 1.5, 1.2, 2.7, 8.0, {3}});
    const MonospaceMeasurer measurer;
    for (const auto& [width, height] : {std::pair{640, 480}, {300, 200}, {60, 40}}) {
        for (const ViewKind kind : ALL_VIEWS) {
            SCOPED_TRACE(std::string(view_title(kind)) + " at " + std::to_string(width));
            const DisplayList list = draw_view(kind, ws, history, width, height, measurer);
            std::vector<RectItem> cells;
            for (const DisplayItem& item : list) {
                // Legend steps and swatches are shorter than a line.
                if (const auto* rect = std::get_if<RectItem>(&item);
                    rect && rect->height > measurer.line_height())
                    cells.push_back(*rect);
            }
            int texts = 0;
            for (const DisplayItem& item : list) {
                const auto* text = std::get_if<TextItem>(&item);
                if (!text) continue;
                ++texts;
                EXPECT_TRUE(inside(*text, RectItem{{}, 0, 0, width, height}, measurer)) << text->text;
                for (const RectItem& cell : cells) {
                    if (overlaps(*text, cell, measurer)) {
                        EXPECT_TRUE(inside(*text, cell, measurer)) << text->text;
                    }
                }
            }
            EXPECT_TRUE(width <= 60 || texts > 0);  // the smallest may be too small for any
        }
    }
    const DisplayList hits = draw_view(ViewKind::hit_map, ws, history, 640, 480, measurer);
    const std::vector<std::int32_t> counts = hit_counts(ws);
    const std::int32_t max = *std::max_element(counts.begin(), counts.end());
    const auto has_text = [&](const DisplayList& list, const std::string& wanted) {
        return std::any_of(list.begin(), list.end(), [&](const DisplayItem& item) {
            const auto* text = std::get_if<TextItem>(&item);
            return text && text->text == wanted;
        });
    };
    EXPECT_TRUE(has_text(hits, std::to_string(max)));
    EXPECT_EQ(has_text(hits, "inactive: no hits"), std::count(counts.begin(), counts.end(), 0) > 0);
    EXPECT_TRUE(has_text(draw_view(ViewKind::component_planes, ws, history, 640, 480, measurer), "V2"));
    EXPECT_TRUE(has_text(draw_view(ViewKind::label_map, ws, history, 640, 480, measurer), "b"));
    EXPECT_TRUE(
        has_text(draw_view(ViewKind::measures_chart, ws, history, 640, 480, measurer), "Violations (%)"));

    // Without labels the label map says so; without prototypes every view does.
    ws.availability.raise(core::AvailabilityEvent::begin_data_import);
    EXPECT_TRUE(has_text(draw_view(ViewKind::hit_map, ws, history, 640, 480, measurer),
                         "No prototypes with values yet: initialize or import them."));
}

}  // namespace
}  // namespace veltra::ui
