#include "ui/training_dialog.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "recording_host.h"
#include "tests/support/workspace_setup.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/headless_dialog.h"

namespace veltra::ui {
namespace {

struct TrainingSetup {
    core::FixedClock clock{1000};
    core::Workspace ws{clock};
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    Session session;

    void prepare(std::int32_t rows, std::int32_t cols) {
        veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, rows, cols);
        veltra::testing::prototypes_from_data(ws);
    }
};

// Presses Calculate with the four fields and returns the texts of the
// messages it showed.
std::vector<std::string> calculate(HeadlessDialog& dialog, testing::RecordingHost& host, const char* epochs,
                                   const char* order, const char* rate, const char* factor) {
    host.clear_records();
    dialog.type(SOM_EPOCHS, epochs);
    dialog.type(SOM_ORDER, order);
    dialog.type(SOM_RATE, rate);
    dialog.type(SOM_FACTOR, factor);
    dialog.press(CONTROL_OK);
    std::vector<std::string> texts;
    for (const testing::MessageRecord& m : host.messages) texts.push_back(m.caption + "|" + m.text);
    return texts;
}

TEST(TrainingDialog, RemembersEveryValueReadAcceptedOrNot) {
    TrainingSetup s;
    s.prepare(2, 5);
    auto monitor = s.host.open_status_box(SOMINFO, Placement::bottom_right);
    TrainingDialog procedure(s.ws, s.host, s.session, *monitor);
    {
        HeadlessDialog dialog(procedure, s.host);
        ASSERT_TRUE(dialog.open());
        EXPECT_EQ(dialog.item_text(SOM_EPOCHS), "10");
        EXPECT_EQ(dialog.item_text(SOM_ORDER), "1");
        EXPECT_EQ(dialog.item_text(SOM_RATE), "0.0100");
        EXPECT_EQ(dialog.item_text(SOM_FACTOR), "0.3000");
        // Epochs is read first; the order is never read when epochs fails.
        EXPECT_EQ(calculate(dialog, s.host, "0", "99", "0.5", "0.5"),
                  std::vector<std::string>{"Invalid Input|# of epochs must be in the range [1,999]!"});
        dialog.press(CONTROL_CANCEL);
        EXPECT_EQ(dialog.result(), 0);
    }
    EXPECT_EQ(s.session.schedule.epochs, 0);
    EXPECT_EQ(s.session.schedule.neighborhood_order, 1);
    HeadlessDialog dialog(procedure, s.host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(dialog.item_text(SOM_EPOCHS), "0");
    EXPECT_EQ(dialog.item_text(SOM_ORDER), "1");

    EXPECT_EQ(calculate(dialog, s.host, "1000", "0", "0", "0"),
              std::vector<std::string>{"Invalid Input|# of epochs must be in the range [1,999]!"});
    EXPECT_EQ(
        calculate(dialog, s.host, "2", "5", "0", "0"),
        std::vector<std::string>{"Invalid Input|Neighborhood must be in the range [0,max(rows,colums)-1]!"});
    EXPECT_EQ(
        calculate(dialog, s.host, "2", "-1", "0", "0"),
        std::vector<std::string>{"Invalid Input|Neighborhood must be in the range [0,max(rows,colums)-1]!"});
    EXPECT_EQ(calculate(dialog, s.host, "2", "4", "1.0001", "2"),
              std::vector<std::string>{"Invalid Input|Learnrate must be in the range [0,1]!"});
    EXPECT_EQ(s.session.schedule.learning_rate, 1.0001);
    EXPECT_EQ(s.session.schedule.update_factor, 0.3);
    EXPECT_EQ(calculate(dialog, s.host, "2", "4", "-0.5", "0"),
              std::vector<std::string>{"Invalid Input|Learnrate must be in the range [0,1]!"});
    EXPECT_EQ(calculate(dialog, s.host, "2", "4", "1", "1.0001"),
              std::vector<std::string>{"Invalid Input|Updatefactor must be in the range [0,1]!"});
    EXPECT_EQ(calculate(dialog, s.host, "2", "4", "1e999", "0"),
              std::vector<std::string>{"Invalid Input|Learnrate must be in the range [0,1]!"});
    EXPECT_EQ(s.host.entries("beep"), std::vector<std::string>{"beep exclamation"});
    EXPECT_EQ(s.host.wait_depth, 0);
    EXPECT_FALSE(s.ws.availability.is_enabled(core::CMD_RECALL_FREQUENCY));

    // The limits 0 and 1 are valid rates; order 4 is the largest on a 2 x 5 map.
    EXPECT_EQ(calculate(dialog, s.host, "2", "4", "0", "1"),
              std::vector<std::string>{"SOM|SOM training done."});
    EXPECT_EQ(calculate(dialog, s.host, "1", "0", "1", "0"),
              std::vector<std::string>{"SOM|SOM training done."});
    dialog.press(CONTROL_CANCEL);

    HeadlessDialog third(procedure, s.host);
    ASSERT_TRUE(third.open());
    EXPECT_EQ(third.item_text(SOM_EPOCHS), "1");
    EXPECT_EQ(third.item_text(SOM_ORDER), "0");
    EXPECT_EQ(third.item_text(SOM_RATE), "1.0000");
    EXPECT_EQ(third.item_text(SOM_FACTOR), "0.0000");
}

TEST(TrainingDialog, ArrowsKeepEpochsAndOrderWithinTheirBounds) {
    for (const auto& [rows, cols, largest] :
         std::vector<std::tuple<int, int, int>>{{1, 1, 0}, {2, 5, 4}, {6, 2, 5}}) {
        TrainingSetup s;
        s.prepare(rows, cols);
        auto monitor = s.host.open_status_box(SOMINFO, Placement::bottom_right);
        TrainingDialog procedure(s.ws, s.host, s.session, *monitor);
        HeadlessDialog dialog(procedure, s.host);
        ASSERT_TRUE(dialog.open());
        dialog.type(SOM_ORDER, "0");
        for (int i = 0; i < 8; ++i) dialog.press(SOM_ORDER_UP);
        EXPECT_EQ(dialog.item_text(SOM_ORDER), std::to_string(largest)) << rows << "x" << cols;
        EXPECT_EQ(s.session.schedule.neighborhood_order, largest);
        for (int i = 0; i < 8; ++i) dialog.press(SOM_ORDER_DOWN);
        EXPECT_EQ(dialog.item_text(SOM_ORDER), "0");
        if (largest == 0) {
            EXPECT_EQ(calculate(dialog, s.host, "1", "1", "0.1", "0.1"),
                      std::vector<std::string>{
                          "Invalid Input|Neighborhood must be in the range [0,max(rows,colums)-1]!"});
        }
    }
    TrainingSetup s;
    s.prepare(2, 2);
    auto monitor = s.host.open_status_box(SOMINFO, Placement::bottom_right);
    TrainingDialog procedure(s.ws, s.host, s.session, *monitor);
    HeadlessDialog dialog(procedure, s.host);
    ASSERT_TRUE(dialog.open());
    dialog.type(SOM_EPOCHS, "999");
    dialog.press(SOM_EPOCHS_UP);
    EXPECT_EQ(dialog.item_text(SOM_EPOCHS), "999");
    dialog.type(SOM_EPOCHS, "1");
    dialog.press(SOM_EPOCHS_DOWN);
    EXPECT_EQ(dialog.item_text(SOM_EPOCHS), "1");
    dialog.type(SOM_EPOCHS, "abc");
    dialog.press(SOM_EPOCHS_DOWN);
    EXPECT_EQ(s.session.schedule.epochs, 0);  // read even though nothing was written
    dialog.press(SOM_EPOCHS_UP);
    EXPECT_EQ(dialog.item_text(SOM_EPOCHS), "1");
    EXPECT_EQ(s.session.schedule.epochs, 1);
    dialog.press(CONTROL_HELP);
    EXPECT_EQ(s.host.entries("help"), std::vector<std::string>{"help SOM training"});
}

TEST(TrainingDialog, FeedsTheMonitorPerEpochWhileHiddenAndContinuesTheCounts) {
    TrainingSetup s;
    s.prepare(2, 2);
    auto monitor = s.host.open_status_box(SOMINFO, Placement::bottom_right);
    TrainingDialog procedure(s.ws, s.host, s.session, *monitor);
    HeadlessDialog dialog(procedure, s.host);
    ASSERT_TRUE(dialog.open());
    EXPECT_FALSE(s.ws.availability.is_enabled(core::CMD_EXPORT_VIOLATIONS));
    s.host.current_dialog = &dialog;
    ASSERT_EQ(calculate(dialog, s.host, "2", "1", "0.1", "0.5"),
              std::vector<std::string>{"SOM|SOM training done."});
    EXPECT_TRUE(dialog.visible());

    // Per epoch the seven fields in their order, then the raw report.
    std::vector<std::string> order;
    for (const std::string& entry : s.host.log) order.push_back(entry.substr(0, entry.find('=')));
    std::vector<std::string> expected = {"wait begin", "status repaint"};
    for (const char* epoch : {"epoch 1 12", "epoch 2 24"}) {
        for (const int id : {MONITOR_EPOCHS, MONITOR_ITERATIONS, MONITOR_HETEROGENEITY, MONITOR_SIMPLICITY,
                             MONITOR_COMBINED, MONITOR_VIOLATIONS, MONITOR_INACTIVE}) {
            expected.push_back(std::string("status ") + std::to_string(id));
        }
        expected.push_back(epoch);
    }
    expected.push_back("wait end");
    expected.push_back("box SOM|SOM training done.");
    EXPECT_EQ(order, expected);
    EXPECT_EQ(s.host.status_texts.at(MONITOR_EPOCHS), "2");
    EXPECT_EQ(s.host.status_texts.at(MONITOR_ITERATIONS), "24");
    EXPECT_EQ(s.host.visible_at_status_write, std::vector<bool>(14, false));
    EXPECT_TRUE(s.host.entries("repaint").empty());
    EXPECT_EQ(veltra::testing::enabled_commands(s.ws), veltra::testing::ENABLED_AFTER_TRAINING);

    // A second run goes on counting; with the check mark on, the map view is
    // recomputed and the main window repainted after every epoch.
    s.ws.availability.raise(core::AvailabilityEvent::toggle_visualization);
    calculate(dialog, s.host, "3", "1", "0.1", "0.5");
    EXPECT_EQ(s.host.status_texts.at(MONITOR_EPOCHS), "5");
    EXPECT_EQ(s.host.status_texts.at(MONITOR_ITERATIONS), "60");
    EXPECT_EQ(s.host.entries("sammon").size(), 3u);
    EXPECT_EQ(s.host.entries("repaint").size(), 3u);
    EXPECT_EQ(s.session.progress.epochs_done, 5);

    // Asked to stop after epoch 6, a run of 10 ends there as a finished run does.
    s.host.stop_after_epoch = 6;
    EXPECT_EQ(calculate(dialog, s.host, "10", "1", "0.1", "0.5"),
              std::vector<std::string>{"SOM|SOM training done."});
    EXPECT_EQ(s.session.progress.epochs_done, 6);
}

TEST(TrainingDialog, MonitorFieldsUseTheirFormats) {
    algorithms::EpochReport report;
    report.epochs = 7;
    report.iterations = 5'000'000'000;
    report.heterogeneity = 1.5;
    report.simplicity = 0.25;
    report.combined = 1.75;
    report.violations = 12.5;
    report.inactive_prototypes = {3, 12, 36};
    const auto fields = monitor_fields(report);
    const std::vector<std::pair<int, std::string>> expected = {
        {MONITOR_EPOCHS, "7"},
        {MONITOR_ITERATIONS, "5000000000"},
        {MONITOR_HETEROGENEITY, "           1.50"},
        {MONITOR_SIMPLICITY, "           0.25"},
        {MONITOR_COMBINED, "           1.75"},
        {MONITOR_VIOLATIONS, "12.50 %"},
        {MONITOR_INACTIVE, " 3 12 36 "},
    };
    ASSERT_EQ(fields.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fields[i].id, expected[i].first);
        EXPECT_EQ(fields[i].text, expected[i].second);
    }
    report.inactive_prototypes.clear();
    EXPECT_EQ(monitor_fields(report)[6].text, "");
}

}  // namespace
}  // namespace veltra::ui
