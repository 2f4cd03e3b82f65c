#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "core/map_shape.h"
#include "qt_session.h"
#include "tests/support/workspace_setup.h"
#include "ui/qt/display_list_painter.h"

namespace veltra::ui::qt::testing {
namespace {

struct Colours {
    int red = 0;
    int green = 0;
    int blue = 0;
};

Colours count_colours(const QImage& image) {
    Colours colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            // Numbers are antialiased text: count what is clearly red.
            if (qRed(pixel) > 200 && qGreen(pixel) < 120 && qBlue(pixel) < 120) {
                ++colours.red;
            } else if (pixel == qRgb(0, 255, 0)) {
                ++colours.green;
            } else if (pixel == qRgb(0, 0, 255)) {
                ++colours.blue;
            }
        }
    }
    return colours;
}

// Imports `data`, sizes the map rows x cols, sets prototype p to datavector
// p and switches the Sammon view on, all through the events the dialogs raise.
void prepare(QtSession& session, const std::string& data, int ndata, int rows, int cols) {
    veltra::testing::prepare_map(session.ws, session.dir, data, ndata, 2, rows, cols);
    veltra::testing::prototypes_from_data(session.ws);
    session.command(core::CMD_SAMMON_VISUALIZATION);
}

// The view draws its axes, grid and numbers for a real map and keeps drawing
// the stored projection when the window is resized.
TEST(MapCanvas, PaintsTheSammonViewAndRescalesOnResize) {
    QtSession session;
    prepare(session, veltra::testing::TWELVE_BY_TWO, 12, 2, 3);
    MapCanvas& canvas = session.window().canvas();
    canvas.resize(400, 300);
    const Colours colours = count_colours(canvas.grab().toImage());
    EXPECT_GT(colours.blue, 500);   // two axes and their captions
    EXPECT_GT(colours.green, 100);  // seven grid lines of two pixels
    EXPECT_GT(colours.red, 20);     // six numbers

    const double stress = session.window().shell().session().map_view.stress();
    canvas.resize(300, 200);
    EXPECT_GT(count_colours(canvas.grab().toImage()).green, 50);
    EXPECT_EQ(session.window().shell().session().map_view.stress(), stress);

    // Switched off, the next paint is white.
    session.command(core::CMD_SAMMON_VISUALIZATION);
    const QImage blank = canvas.grab().toImage();
    EXPECT_EQ(count_colours(blank).blue + count_colours(blank).green + count_colours(blank).red, 0);
    EXPECT_EQ(blank.pixel(150, 100), qRgb(255, 255, 255));
}

// A single prototype and prototypes that are all equal have zero extents;
// the view still paints, with every number inside the client area.
TEST(MapCanvas, PaintsOneAndEqualPrototypesWithoutNan) {
    for (const auto& [data, ndata, rows, cols] :
         {std::tuple<std::string, int, int, int>{"3 4\n", 1, 1, 1}, {"1 1\n1 1\n1 1\n1 1\n", 4, 2, 2}}) {
        SCOPED_TRACE(rows * cols);
        QtSession session;
        prepare(session, data, ndata, rows, cols);
        ASSERT_TRUE(session.ws.availability.is_visualization_on());
        const FontTextMeasurer measurer(session.window().canvas().font());
        const auto items = session.window().shell().paint(200, 150, measurer);
        ASSERT_TRUE(items.has_value());
        int numbers = 0;
        for (const DisplayItem& item : *items) {
            if (const auto* text = std::get_if<TextItem>(&item); text != nullptr && text->color == RED) {
                ++numbers;
                EXPECT_GE(text->x, 0);
                EXPECT_LT(text->x, 200);
                EXPECT_GE(text->y, 0);
                EXPECT_LT(text->y, 150);
            }
        }
        EXPECT_EQ(numbers, rows * cols);
        session.window().canvas().resize(200, 150);
        EXPECT_GT(count_colours(session.window().canvas().grab().toImage()).red, 5);
    }
}

// Texts stand with their top-left corner at the item's place, on an opaque
// white box that hides what was drawn before; lines keep colour and width.
TEST(MapCanvas, DisplayListPainterDrawsTextOpaqueFromTheTopLeft) {
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFont font = painter.font();
    const DisplayList items = {LineItem{GREEN, 2, 0, 20, 119, 20}, TextItem{"0  ", RED, 10, 12}};
    paint_display_list(painter, items);
    painter.end();

    const FontTextMeasurer measurer(font);
    // The first pixel rows of the text box are white (opaque), so the green
    // line under the box is hidden while it shows beside it.
    const auto green_rows = [&image](int x) {
        int rows = 0;
        for (int y = 0; y < image.height(); ++y) rows += image.pixel(x, y) == qRgb(0, 255, 0) ? 1 : 0;
        return rows;
    };
    EXPECT_EQ(green_rows(5), 2);
    EXPECT_EQ(green_rows(10 + measurer.text_width("0  ") - 2), 0);
    bool red_inside = false;
    bool red_outside = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 80) {
                const bool inside = x >= 10 && y >= 12 && y < 12 + measurer.line_height();
                (inside ? red_inside : red_outside) = true;
            }
        }
    }
    EXPECT_TRUE(red_inside);
    EXPECT_FALSE(red_outside);

    // A text without its box (a prototype number) leaves the line visible
    // beside its letters.
    image.fill(Qt::white);
    QPainter again(&image);
    paint_display_list(again, {LineItem{GREEN, 2, 0, 20, 119, 20}, TextItem{"0  ", RED, 10, 12, false}});
    again.end();
    EXPECT_EQ(green_rows(10 + measurer.text_width("0  ") - 2), 2);
}

}  // namespace
}  // namespace veltra::ui::qt::testing
