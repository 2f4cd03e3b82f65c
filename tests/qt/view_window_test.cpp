#include "ui/qt/view_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QScreen>
#include <QWindow>

#include "core/map_shape.h"
#include "qt_session.h"
#include "tests/support/workspace_setup.h"
#include "ui/file_filters.h"

namespace veltra::ui::qt::testing {
namespace {

class EpochWatcher final : public SessionObserver {
public:
    std::function<void()> on_epoch = [] {};
    void epoch_done(const algorithms::EpochReport&) override { on_epoch(); }
};

// Twelve labelled datavectors on a 2 x 3 map with random prototypes.
void prepare(QtSession& session) {
    core::Workspace& ws = session.ws;
    ws.availability.raise(core::AvailabilityEvent::begin_data_import);
    ASSERT_EQ(
        core::import_datavectors(ws, session.dir.write("data.dat", veltra::testing::TWELVE_BY_TWO), 12, 2),
        core::ImportResult::ok);
    ws.availability.raise(core::AvailabilityEvent::data_imported);
    for (int i = 0; i < 12; ++i) ws.annotations.labels.push_back(i < 9 ? "grid" : "corner");
    ws.availability.raise(core::AvailabilityEvent::labels_read);
    ws.availability.raise(core::AvailabilityEvent::begin_map_shape);
    ASSERT_EQ(core::set_map_shape(ws, 2, 3), core::MapShapeResult::ok);
    ws.availability.raise(core::AvailabilityEvent::map_defined);
    session.scripts["RANDOMWEIGHTS"] = [](TemplateDialog& dialog) {
        type(dialog, 105, "6");
        type(dialog, 106, "0");
        dialog.press(101);
    };
    session.command(core::CMD_RANDOM_WEIGHTS);
}

ViewWindow* window_of(QtSession& session, ViewKind kind) {
    for (ViewWindow* view : session.window().host().view_windows()) {
        if (view->kind() == kind) return view;
    }
    return nullptr;
}

QImage on_screen(ViewWindow& view) {
    const QRect area(view.canvas().mapTo(&view, QPoint(0, 0)), view.canvas().size());
    return view.screen()
        ->grabWindow(view.windowHandle()->winId(), area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

int coloured_pixels(const QImage& image) {
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) coloured += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    }
    return coloured;
}

// Each View command opens its own window once (again it only comes to the
// front), grayed while the prototypes have no values; the windows show
// every epoch on screen while the training runs.
TEST(ViewWindow, EachViewHasItsWindowThatFollowsTheTraining) {
    QtSession session;
    for (const ViewKind kind : ALL_VIEWS)
        EXPECT_FALSE(session.window().action(view_command(kind))->isEnabled());
    prepare(session);
    for (const ViewKind kind : ALL_VIEWS) {
        SCOPED_TRACE(std::string(view_title(kind)));
        ASSERT_TRUE(session.window().action(view_command(kind))->isEnabled());
        session.command(view_command(kind));
        session.command(view_command(kind));
        ViewWindow* view = window_of(session, kind);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->windowTitle().toStdString(), view_title(kind));
        EXPECT_TRUE(view->isVisible());
        view->follow();
        EXPECT_GT(coloured_pixels(on_screen(*view)), 100);
    }
    EXPECT_EQ(session.window().host().view_windows().size(), std::size(ALL_VIEWS));

    EpochWatcher watcher;
    session.window().host().hooks().observer = &watcher;
    std::vector<QImage> charts;
    // The watcher hears of an epoch before the views follow it: each call
    // sees the screen of the epoch before.
    watcher.on_epoch = [&] { charts.push_back(on_screen(*window_of(session, ViewKind::measures_chart))); };
    session.scripts["SOM"] = [](TemplateDialog& dialog) {
        type(dialog, 105, "3");
        type(dialog, 124, "0.9");
        dialog.press(101);
        dialog.press(102);
    };
    session.command(core::CMD_SOM_TRAINING);
    ASSERT_EQ(charts.size(), 3u);
    EXPECT_NE(charts[0], charts[1]);
    EXPECT_NE(charts[1], charts[2]);
    // Every view on screen is what it paints for the trained prototypes.
    for (const ViewKind kind : ALL_VIEWS) {
        ViewWindow& view = *window_of(session, kind);
        EXPECT_EQ(on_screen(view), view.canvas().grab().toImage().convertToFormat(QImage::Format_RGB32))
            << view_title(kind);
    }

    // A new map takes the prototypes' values away: the views say so.
    session.ws.availability.raise(core::AvailabilityEvent::begin_map_shape);
    EXPECT_LT(coloured_pixels(on_screen(*window_of(session, ViewKind::u_matrix))), 2000);
}

// Save picture writes SVG or PNG by the file name (PNG without either), for
// the views and the Sammon view; a file that cannot be written is an error.
TEST(ViewWindow, SavePictureWritesPngOrSvgByName) {
    QtSession session;
    prepare(session);
    session.command(core::CMD_VIEW_HIT_MAP);
    ViewWindow& view = *window_of(session, ViewKind::hit_map);
    session.messages.clear();
    session.file_choices = {session.dir.path("hits.svg"), session.dir.path("hits"),
                            session.dir.path("no/such/hits.png")};
    for (int i = 0; i < 3; ++i) view.save_picture();
    QFile svg(QString::fromStdString(session.dir.path("hits.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().startsWith("<?xml"));
    const QImage png(QString::fromStdString(session.dir.path("hits.png")));
    EXPECT_EQ(png.size(), view.canvas().size());
    EXPECT_GT(coloured_pixels(png), 1000);
    EXPECT_EQ(session.message_texts(), std::vector<std::string>{"Can not write picture!"});
    EXPECT_EQ(session.file_requests.back().filter_id, FILTER_PICTURE);

    EXPECT_FALSE(session.window().action(core::CMD_VIEW_SAVE_SAMMON_PICTURE)->isEnabled());
    session.command(core::CMD_SAMMON_VISUALIZATION);
    session.command(core::CMD_VIEW_KEEP_ASPECT_RATIO);
    EXPECT_TRUE(session.window().action(core::CMD_VIEW_KEEP_ASPECT_RATIO)->isChecked());
    session.file_choices = {session.dir.path("map.png")};
    session.command(core::CMD_VIEW_SAVE_SAMMON_PICTURE);
    const QImage map(QString::fromStdString(session.dir.path("map.png")));
    EXPECT_EQ(map.size(), session.window().canvas().size());
    EXPECT_GT(coloured_pixels(map), 100);
}

}  // namespace
}  // namespace veltra::ui::qt::testing
