#include <gtest/gtest.h>

#include <cmath>

#include "algorithms/pairwise_exchange.h"
#include "core/clock.h"
#include "core/measures.h"
#include "recording_host.h"
#include "tests/support/workspace_setup.h"
#include "ui/control_ids.h"
#include "ui/field_reading.h"
#include "ui/headless_dialog.h"
#include "ui/pairwise_dialog.h"
#include "ui/pick_datapoints_dialog.h"
#include "ui/random_weights_dialog.h"

namespace veltra::ui {
namespace {

TEST(RandomWeightsDialog, RefusesLimitsInOrderAndFillsWithinThem) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 3);
    veltra::testing::prototypes_from_data(ws);
    RandomWeightsDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_EXPORT_PROTOTYPES));

    const auto refusal = [&](const char* upper, const char* lower) {
        host.clear_records();
        dialog.type(WEIGHTS_UPPER, upper);
        dialog.type(WEIGHTS_LOWER, lower);
        dialog.press(CONTROL_OK);
        EXPECT_FALSE(dialog.ended());
        EXPECT_EQ(host.entries("beep"), std::vector<std::string>{"beep exclamation"});
        return host.messages.size() == 1 && host.messages[0].caption == "Invalid Input"
                   ? host.messages[0].text
                   : std::string("?");
    };
    const std::string ORDER = "Upper limit > lower limit required!";
    const std::string FINITE = "Limits must be finite numbers!";
    EXPECT_EQ(refusal("0.0", "0.0"), ORDER);
    EXPECT_EQ(refusal("letters", "0"), ORDER);
    EXPECT_EQ(refusal("1", "2"), ORDER);
    EXPECT_EQ(refusal("-1e999", "1e999"), ORDER);
    EXPECT_EQ(refusal("1e999", "0"), FINITE);
    EXPECT_EQ(refusal("1e308", "-1e308"), FINITE);
    // Only twelve characters count: "1234567890129" reads as 123456789012.
    EXPECT_EQ(refusal("1234567890129", "123456789012"), ORDER);
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_EXPORT_PROTOTYPES));

    host.clear_records();
    dialog.type(WEIGHTS_UPPER, "1");
    dialog.type(WEIGHTS_LOWER, "-1");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.log, (std::vector<std::string>{"wait begin", "wait end",
                                                  "box Random Weights|Prototypes initialized."}));
    EXPECT_EQ(dialog.result(), 1);
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        for (std::int32_t k = 0; k < ws.nvars; ++k) {
            EXPECT_GE(ws.prototypes[p][k], -1.0);
            EXPECT_LE(ws.prototypes[p][k], 1.0);
        }
    }
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_PROTOTYPES);
}

TEST(PickDatapointsDialog, TwoRunsNumberTheirTrialsOneToSixAndShowTheBest) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
    PickDatapointsDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(dialog.item_text(TRIALS_TRIAL), "0");
    EXPECT_EQ(dialog.item_text(TRIALS_HETEROGENEITY), "");

    for (const char* count : {"0", "10000", "", "x"}) {
        host.clear_records();
        dialog.type(TRIALS_COUNT, count);
        dialog.press(CONTROL_OK);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, "# of trials must be in the range [1,9999]!");
    }
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_SOM_TRAINING));

    host.clear_records();
    dialog.type(TRIALS_COUNT, "3");
    dialog.press(CONTROL_OK);
    clock.advance(1);
    dialog.press(CONTROL_OK);
    const std::vector<std::string> trials = host.entries("trial ");
    ASSERT_FALSE(trials.empty());
    EXPECT_EQ(trials.front().substr(0, 8), "trial 1 ");
    int last_trial = 0;
    double last_heterogeneity = 0.0;
    for (const std::string& entry : trials) {
        const int trial = std::stoi(entry.substr(6));
        const double heterogeneity = std::stod(entry.substr(entry.rfind(' ') + 1));
        EXPECT_GT(trial, last_trial);
        EXPECT_LE(trial, 6);
        if (last_trial > 0) {
            EXPECT_LT(heterogeneity, last_heterogeneity);
        }
        last_trial = trial;
        last_heterogeneity = heterogeneity;
    }
    EXPECT_EQ(dialog.item_text(TRIALS_TRIAL), std::to_string(last_trial));
    EXPECT_EQ(dialog.item_text(TRIALS_HETEROGENEITY), format_real("%15.2f", last_heterogeneity));
    EXPECT_EQ(host.entries("box"), (std::vector<std::string>{"box Pick Datapoints|Prototypes initialized.",
                                                             "box Pick Datapoints|Prototypes initialized."}));
    EXPECT_EQ(host.entries("wait"),
              (std::vector<std::string>{"wait begin", "wait end", "wait begin", "wait end"}));
    EXPECT_TRUE(ws.availability.is_enabled(core::CMD_SOM_TRAINING));
    EXPECT_FALSE(dialog.ended());
    dialog.press(CONTROL_CANCEL);
    EXPECT_EQ(dialog.result(), 0);

    // A new opening starts the numbering afresh.
    host.clear_records();
    HeadlessDialog again(procedure, host);
    ASSERT_TRUE(again.open());
    again.press(CONTROL_OK);
    EXPECT_EQ(host.entries("trial ").front().substr(0, 8), "trial 1 ");
}

TEST(PickDatapointsDialog, TooFewDifferentDatavectorsAreRefusedAndTheDialogStaysOpen) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, "1 1\n1 1\n1 1\n2 2\n", 4, 2, 1, 3);
    PickDatapointsDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"wait begin", "wait end", "beep exclamation",
                                        "box Pick Datapoints|Too few different datavectors for this map!"}));
    EXPECT_EQ(host.messages[0].icon, Icon::exclamation);
    EXPECT_FALSE(dialog.ended());
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_EXPORT_PROTOTYPES));
    EXPECT_EQ(dialog.item_text(TRIALS_TRIAL), "0");
}

TEST(PairwiseDialog, CountersAddUpOverRunsAndSimplicityFollowsThePrototypes) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    core::Workspace twin(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    for (core::Workspace* w : {&ws, &twin}) {
        veltra::testing::prepare_map(*w, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 3, 3);
        veltra::testing::prototypes_from_data(*w);
    }
    PairwiseDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    const auto simplicity_of = [](const core::Workspace& w) {
        return core::compute_simplicity(w.prototypes, w.nprotos, w.nvars, w.incidence);
    };
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(dialog.item_text(PAIRWISE_SIMPLICITY), format_real("%15.2f", simplicity_of(ws)));
    EXPECT_EQ(dialog.item_text(PAIRWISE_TOTAL), "0");

    dialog.type(PAIRWISE_COUNT, "10000");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.messages.back().text, "# of changes must be in the range [1,9999]!");

    // The twin workspace runs the same exchanges with the same clock.
    const std::int32_t first = algorithms::exchange_prototype_pairs(twin, 5);
    dialog.type(PAIRWISE_COUNT, "5");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(dialog.item_text(PAIRWISE_TOTAL), "5");
    EXPECT_EQ(dialog.item_text(PAIRWISE_SUCCESSFUL), std::to_string(first));
    clock.advance(7);
    const std::int32_t second = algorithms::exchange_prototype_pairs(twin, 5);
    dialog.press(CONTROL_OK);
    EXPECT_EQ(dialog.item_text(PAIRWISE_TOTAL), "10");
    EXPECT_EQ(dialog.item_text(PAIRWISE_SUCCESSFUL), std::to_string(first + second));
    EXPECT_EQ(dialog.item_text(PAIRWISE_SIMPLICITY), format_real("%15.2f", simplicity_of(twin)));
    const std::vector<std::string> reports = host.entries("pairwise");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].substr(0, reports[0].rfind(' ')), "pairwise 5 " + std::to_string(first));
    EXPECT_EQ(reports[1], "pairwise 10 " + std::to_string(first + second) + " " +
                              format_real("%.17g", simplicity_of(twin)));
    EXPECT_EQ(host.entries("box Pairwise").size(), 2u);
    EXPECT_FALSE(dialog.ended());
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        EXPECT_EQ(ws.prototypes[p][0], twin.prototypes[p][0]);
        EXPECT_EQ(ws.prototypes[p][1], twin.prototypes[p][1]);
    }
    dialog.press(CONTROL_CANCEL);
    EXPECT_EQ(dialog.result(), 0);
}

TEST(PairwiseDialog, OpeningGraysTheTrainedCommandsAndClearsTheCheckMark) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 1, 1);
    veltra::testing::prototypes_from_data(ws);
    ws.availability.raise(core::AvailabilityEvent::training_done);
    ws.availability.raise(core::AvailabilityEvent::toggle_visualization);
    PairwiseDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_PROTOTYPES);
    EXPECT_FALSE(ws.availability.is_visualization_on());
    // A 1 x 1 map has nothing to exchange.
    dialog.press(CONTROL_OK);
    EXPECT_EQ(dialog.item_text(PAIRWISE_TOTAL), "1");
    EXPECT_EQ(dialog.item_text(PAIRWISE_SUCCESSFUL), "0");
    dialog.press(CONTROL_HELP);
    EXPECT_EQ(host.entries("help"), std::vector<std::string>{"help pairwise exchange"});
}

}  // namespace
}  // namespace veltra::ui
