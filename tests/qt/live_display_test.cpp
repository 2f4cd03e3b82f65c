#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWindow>

#include "core/map_shape.h"
#include "qt_session.h"
#include "tests/support/workspace_setup.h"
#include "ui/control_ids.h"
#include "ui/field_reading.h"

namespace veltra::ui::qt::testing {
namespace {

// Calls the test back from inside the running operations, right after they
// set their fields.
class OperationWatcher final : public SessionObserver {
public:
    std::function<void(double)> on_step = [](double) {};
    std::function<void(int, double)> on_trial = [](int, double) {};
    std::function<void(int, int, double)> on_pairwise = [](int, int, double) {};
    std::function<void(const algorithms::EpochReport&)> on_epoch = [](const algorithms::EpochReport&) {};

    void convergence_step(double heterogeneity) override { on_step(heterogeneity); }
    void trial_adopted(int trial, double heterogeneity) override { on_trial(trial, heterogeneity); }
    void pairwise_done(int total, int successful, double simplicity) override {
        on_pairwise(total, successful, simplicity);
    }
    void epoch_done(const algorithms::EpochReport& report) override { on_epoch(report); }
};

// The visible dialog or status box made from the template `name`.
TemplateDialog* find_box(std::string_view name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<TemplateDialog*>(top);
        if (dialog != nullptr && dialog->isVisible() && dialog->dialog_template().name == name) return dialog;
    }
    return nullptr;
}

// What the screen shows of `area` of a top-level window (what was last put
// on screen, not what the window would paint now); null when nothing was.
QImage on_screen(QWidget& window, const QRect& area) {
    const QPixmap shown = window.screen()->grabWindow(window.windowHandle()->winId(), area.x(), area.y(),
                                                      area.width(), area.height());
    return shown.toImage().convertToFormat(QImage::Format_RGB32);
}

// True when the screen shows the controls `ids` of `box` (the whole box
// when empty) exactly as they paint with their texts now.
bool shows_now(TemplateDialog& box, std::initializer_list<int> ids = {}) {
    QRect area;
    for (const int id : ids) area |= box.control(id)->geometry();
    if (ids.size() == 0) area = box.rect();
    const QImage shown = on_screen(box, area);
    return !shown.isNull() && shown == box.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

// A session with data, a map and random prototypes, and the watcher hooked
// into the Qt host.
struct LiveSession {
    QtSession session;
    OperationWatcher watcher;

    LiveSession(int rows, int cols) {
        veltra::testing::prepare_map(session.ws, session.dir, veltra::testing::TWELVE_BY_TWO, 12, 2, rows,
                                     cols);
        session.scripts["RANDOMWEIGHTS"] = [](TemplateDialog& dialog) {
            type(dialog, WEIGHTS_UPPER, "6");
            type(dialog, WEIGHTS_LOWER, "0");
            dialog.press(CONTROL_OK);
        };
        session.command(core::CMD_RANDOM_WEIGHTS);
        session.window().host().hooks().observer = &watcher;
    }
};

// The Fixpoint box is on screen whole before the first step and shows each
// step's heterogeneity as the step ends; so does the SOM Monitor per epoch.
TEST(LiveDisplay, StatusBoxesShowEveryStepWhileItRuns) {
    LiveSession live(2, 2);
    int steps = 0;
    live.watcher.on_step = [&](double heterogeneity) {
        ++steps;
        TemplateDialog* box = find_box("FIXPOINT");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->item_text(FIXPOINT_HETEROGENEITY), format_real("%15.2f", heterogeneity));
        EXPECT_TRUE(shows_now(*box)) << "step " << steps;
    };
    live.session.command(core::CMD_CONVERGE);
    EXPECT_GT(steps, 0);

    int epochs = 0;
    live.watcher.on_epoch = [&](const algorithms::EpochReport& report) {
        ++epochs;
        TemplateDialog* monitor = find_box("SOMINFO");
        ASSERT_NE(monitor, nullptr);
        EXPECT_EQ(monitor->item_text(MONITOR_EPOCHS), std::to_string(report.epochs));
        EXPECT_TRUE(shows_now(*monitor)) << "epoch " << epochs;
    };
    live.session.scripts["SOM"] = [](TemplateDialog& dialog) {
        type(dialog, SOM_EPOCHS, "3");
        dialog.press(CONTROL_OK);
        dialog.press(CONTROL_CANCEL);
    };
    live.session.command(core::CMD_SOM_TRAINING);
    EXPECT_EQ(epochs, 3);
}

// The fields of the pick datapoints and pairwise exchange dialogs show each
// adopted trial and each run's counters on screen while the work goes on.
TEST(LiveDisplay, DialogFieldsShowEveryResultAsItIsAdopted) {
    LiveSession live(2, 3);
    int trials = 0;
    live.watcher.on_trial = [&](int trial, double heterogeneity) {
        ++trials;
        TemplateDialog* dialog = find_box("TRIALS");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->item_text(TRIALS_TRIAL), std::to_string(trial));
        EXPECT_EQ(dialog->item_text(TRIALS_HETEROGENEITY), format_real("%15.2f", heterogeneity));
        EXPECT_TRUE(shows_now(
            *dialog, {TRIALS_TRIAL, TRIALS_TRIAL_GROUP, TRIALS_HETEROGENEITY_GROUP, TRIALS_HETEROGENEITY}))
            << "trial " << trial;
    };
    live.session.scripts["TRIALS"] = [](TemplateDialog& dialog) {
        type(dialog, TRIALS_COUNT, "30");
        dialog.press(CONTROL_OK);
        dialog.press(CONTROL_CANCEL);
    };
    live.session.command(core::CMD_PICK_DATAPOINTS);
    EXPECT_GT(trials, 0);

    int runs = 0;
    live.watcher.on_pairwise = [&](int total, int successful, double simplicity) {
        ++runs;
        TemplateDialog* dialog = find_box("PAIRWISE");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->item_text(PAIRWISE_TOTAL), std::to_string(total));
        EXPECT_EQ(dialog->item_text(PAIRWISE_SUCCESSFUL), std::to_string(successful));
        EXPECT_EQ(dialog->item_text(PAIRWISE_SIMPLICITY), format_real("%15.2f", simplicity));
        EXPECT_TRUE(shows_now(*dialog, {PAIRWISE_TOTAL, PAIRWISE_TOTAL_GROUP, PAIRWISE_SUCCESSFUL_GROUP,
                                        PAIRWISE_SUCCESSFUL, PAIRWISE_SIMPLICITY_GROUP, PAIRWISE_SIMPLICITY}))
            << "run " << runs;
    };
    live.session.scripts["PAIRWISE"] = [](TemplateDialog& dialog) {
        type(dialog, PAIRWISE_COUNT, "5");
        dialog.press(CONTROL_OK);
        dialog.press(CONTROL_OK);
        dialog.press(CONTROL_CANCEL);
    };
    live.session.command(core::CMD_PAIRWISE_EXCHANGE);
    EXPECT_EQ(runs, 2);
}

// Whatever takes the check mark of Sammon visualization away, the picture
// leaves the screen at once, without waiting for the next paint.
TEST(LiveDisplay, MapViewIsErasedAsSoonAsTheCheckMarkGoesOff) {
    LiveSession live(2, 3);
    MainWindow& window = live.session.window();
    core::Availability& availability = live.session.ws.availability;
    const auto coloured_pixels = [&window] {
        const MapCanvas& canvas = window.canvas();
        const QImage shown = on_screen(window, QRect(canvas.mapTo(&window, QPoint(0, 0)), canvas.size()));
        int coloured = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                coloured += shown.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
        return coloured;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> switches_off = {
        {"menu", [&] { live.session.command(core::CMD_SAMMON_VISUALIZATION); }},
        {"new map size", [&] { availability.raise(core::AvailabilityEvent::begin_map_shape); }},
        {"new import", [&] { availability.raise(core::AvailabilityEvent::begin_data_import); }},
    };
    for (const auto& [name, switch_off] : switches_off) {
        SCOPED_TRACE(name);
        availability.raise(core::AvailabilityEvent::begin_initialization);
        availability.raise(core::AvailabilityEvent::prototypes_set);
        live.session.command(core::CMD_SAMMON_VISUALIZATION);
        ASSERT_TRUE(availability.is_visualization_on());
        EXPECT_GT(coloured_pixels(), 100);
        switch_off();
        ASSERT_FALSE(availability.is_visualization_on());
        EXPECT_EQ(coloured_pixels(), 0);
    }
}

}  // namespace
}  // namespace veltra::ui::qt::testing
