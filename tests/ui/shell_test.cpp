#include "ui/shell.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "recording_host.h"
#include "tests/support/workspace_setup.h"
#include "ui/control_ids.h"
#include "ui/field_reading.h"

namespace veltra::ui {
namespace {

using testing::press;
using testing::type;

struct FixedMeasurer final : TextMeasurer {
    int text_width(std::string_view text) const override { return 6 * static_cast<int>(text.size()); }
    int line_height() const override { return 12; }
};

struct ShellSetup {
    core::FixedClock clock{1000};
    core::Workspace ws{clock};
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    Shell shell{ws, host};

    // Runs a command with its scripted dialog actions and file answers.
    void run(int id, std::vector<testing::Action> actions = {},
             std::vector<std::optional<std::string>> files = {}) {
        host.actions.assign(actions.begin(), actions.end());
        host.file_answers.assign(files.begin(), files.end());
        shell.on_command(id);
        EXPECT_TRUE(host.actions.empty()) << "command " << id << " left actions unused";
    }
    std::vector<int> enabled() const { return veltra::testing::enabled_commands(ws); }
};

TEST(Shell, AvailabilityAlongTheWholeRoad) {
    ShellSetup s;
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_AT_START);
    s.run(core::CMD_MAP_SIZE);  // not available yet: ignored
    EXPECT_TRUE(s.host.log.empty());

    s.run(core::CMD_IMPORT_DATAVECTORS,
          {type(IMPORT_NDATA, "12"), type(IMPORT_NVARS, "2"), press(CONTROL_OK)},
          {s.dir.write("d.dat", veltra::testing::TWELVE_BY_TWO)});
    EXPECT_EQ(s.host.last_result, 1);
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_WITH_DATA);

    s.run(core::CMD_MAP_SIZE, {type(MAP_ROWS, "2"), type(MAP_COLS, "2"), press(CONTROL_OK)});
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_WITH_MAP);

    s.run(core::CMD_PICK_DATAPOINTS, {type(TRIALS_COUNT, "3"), press(CONTROL_OK), press(CONTROL_CANCEL)});
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_WITH_PROTOTYPES);

    s.host.clear_records();
    s.run(core::CMD_SOM_TRAINING, {type(SOM_EPOCHS, "2"), press(CONTROL_OK), press(CONTROL_CANCEL)});
    EXPECT_EQ(s.host.log.front(), "status open SOMINFO bottom_right");
    EXPECT_EQ(s.host.log[1], "dialog SOM");
    EXPECT_EQ(s.host.log.back(), "status close SOMINFO");
    const std::vector<int> ALL(core::ALL_COMMANDS.begin(), core::ALL_COMMANDS.end());
    std::vector<int> all_sorted = ALL;
    std::sort(all_sorted.begin(), all_sorted.end());
    EXPECT_EQ(s.enabled(), all_sorted);

    s.run(core::CMD_PAIRWISE_EXCHANGE, {press(CONTROL_OK), press(CONTROL_CANCEL)});
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_WITH_PROTOTYPES);
    s.run(core::CMD_SOM_TRAINING, {press(CONTROL_CANCEL)});
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_WITH_PROTOTYPES);
    s.run(core::CMD_SOM_TRAINING, {type(SOM_EPOCHS, "1"), press(CONTROL_OK), press(CONTROL_CANCEL)});
    EXPECT_EQ(s.enabled(), all_sorted);

    s.host.clear_records();
    s.run(core::CMD_RECALL_FREQUENCY, {press(CONTROL_OK)}, {s.dir.path("r.frq")});
    s.run(core::CMD_RECALL_ASSIGNMENT, {type(RECALL_CYCLE, "4"), press(CONTROL_OK)}, {s.dir.path("r.lst")});
    EXPECT_EQ(s.host.entries("box"),
              (std::vector<std::string>{"box Recall Frequency|Frequency file written.",
                                        "box Recall Assignment|Assignment file written."}));
    EXPECT_EQ(s.dir.read("r.lst").size(), 3u * 10u);  // datavectors 1, 5 and 9
    EXPECT_EQ(s.enabled(), all_sorted);

    s.host.clear_records();
    s.run(core::CMD_MAP_SHOW);
    s.run(core::CMD_ABOUT, {press(CONTROL_OK)});
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"viewer 4", "dialog ABOUT"}));
    EXPECT_EQ(s.host.last_texts.at(ABOUT_VERSION), "1.52");
    EXPECT_EQ(s.host.last_texts.at(ABOUT_REVISION), "Win32s");

    // Importing again withdraws everything but the map size.
    s.run(core::CMD_IMPORT_DATAVECTORS,
          {type(IMPORT_NDATA, "12"), type(IMPORT_NVARS, "2"), press(CONTROL_OK)}, {s.dir.path("d.dat")});
    EXPECT_EQ(s.enabled(), veltra::testing::ENABLED_WITH_DATA);
}

TEST(Shell, QuitAsksFirstAndHelpOpensTheContents) {
    ShellSetup s;
    s.host.answers = {Answer::no};
    s.run(core::CMD_QUIT);
    EXPECT_FALSE(s.host.main_window_closed);
    EXPECT_EQ(s.host.log, (std::vector<std::string>{
                              "beep question", "box Leave Program|Do you really want to quit?|default no"}));
    EXPECT_EQ(s.host.messages[0].icon, Icon::question);
    s.host.answers = {Answer::yes};
    s.shell.request_close();
    EXPECT_TRUE(s.host.main_window_closed);

    s.host.clear_records();
    s.shell.on_help_key();
    s.run(core::CMD_HELP_CONTENTS);
    s.run(77);  // no such command
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"help ", "help "}));
}

struct TrainedShell : ShellSetup {
    TrainedShell() {
        veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
        veltra::testing::prototypes_from_data(ws);
        ws.availability.raise(core::AvailabilityEvent::training_done);
    }
};

TEST(Shell, ExportsReportSuccessAndWriteErrors) {
    TrainedShell s;
    s.run(core::CMD_EXPORT_PROTOTYPES, {}, {std::nullopt});
    s.run(core::CMD_EXPORT_VIOLATIONS, {}, {std::nullopt});
    s.run(core::CMD_EXPORT_MEAN_VALUES, {}, {std::nullopt});
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"save 2", "save 3", "save 4"}));

    s.host.clear_records();
    s.run(core::CMD_EXPORT_PROTOTYPES, {}, {s.dir.path("p.wgt")});
    s.run(core::CMD_EXPORT_VIOLATIONS, {}, {s.dir.path("v1.vio")});
    s.run(core::CMD_EXPORT_VIOLATIONS, {}, {s.dir.path("v2.vio")});
    s.run(core::CMD_EXPORT_MEAN_VALUES, {}, {s.dir.path("m.avg")});
    EXPECT_EQ(s.host.log,
              (std::vector<std::string>{
                  "save 2", "box Export Prototypes|File written.", "save 3", "wait begin", "wait end",
                  "box Export Violations|Violations file written.", "save 3", "wait begin", "wait end",
                  "box Export Violations|Violations file written.", "save 4", "wait begin", "wait end",
                  "box Export Mean Values|Mean values file written."}));
    EXPECT_EQ(s.dir.read("p.wgt"),
              "0.000000 0.000000 \r\n1.000000 0.000000 \r\n2.000000 0.000000 \r\n"
              "0.000000 1.000000 \r\n");
    EXPECT_EQ(s.dir.read("v1.vio"), s.dir.read("v2.vio"));

    s.host.clear_records();
    const std::string nowhere = s.dir.path("missing/file");
    s.run(core::CMD_EXPORT_PROTOTYPES, {}, {nowhere});
    s.run(core::CMD_EXPORT_VIOLATIONS, {}, {nowhere});
    s.run(core::CMD_EXPORT_MEAN_VALUES, {}, {"/dev/full"});
    EXPECT_EQ(s.host.entries("box"),
              (std::vector<std::string>{"box Error Writing File|Can not write prototypes!",
                                        "box Error Writing File|Can not write violations file!",
                                        "box Error Writing File|Can not write mean values file!"}));
    EXPECT_EQ(s.host.entries("beep"), std::vector<std::string>(3, "beep error"));
    EXPECT_EQ(s.host.wait_depth, 0);
}

TEST(Shell, ImportPrototypesClearsTheCheckMarkEvenWhenCancelled) {
    TrainedShell s;
    s.run(core::CMD_SAMMON_VISUALIZATION);
    ASSERT_TRUE(s.ws.availability.is_visualization_on());
    s.run(core::CMD_IMPORT_PROTOTYPES, {}, {std::nullopt});
    EXPECT_FALSE(s.ws.availability.is_visualization_on());
    EXPECT_EQ(s.host.entries("open"), std::vector<std::string>{"open 1"});

    // A file too short leaves the prototypes and the commands as they were.
    s.host.clear_records();
    const std::vector<int> before = s.enabled();
    s.run(core::CMD_IMPORT_PROTOTYPES, {}, {s.dir.write("short.wgt", "9 9 9\n")});
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"open 1", "wait begin", "wait end", "beep error",
                                                    "box Error Reading File|Can not import weights!"}));
    EXPECT_EQ(s.ws.prototypes[0][0], 0.0);
    EXPECT_EQ(s.enabled(), before);

    s.host.clear_records();
    s.run(core::CMD_IMPORT_PROTOTYPES, {}, {s.dir.write("good.wgt", "1 2 3 4 5 6 7 8\n")});
    EXPECT_EQ(s.host.entries("box"), std::vector<std::string>{"box Import Prototypes|Weights file read."});
    EXPECT_EQ(s.ws.prototypes[3][1], 8.0);
    EXPECT_TRUE(s.ws.availability.is_enabled(core::CMD_EXPORT_VIOLATIONS));  // an import grays nothing
    EXPECT_TRUE(s.ws.availability.is_enabled(core::CMD_EXPORT_PROTOTYPES));
}

TEST(Shell, SammonToggleRecomputesOnlyWhenSwitchedOnAndPaintFollowsTheCheckMark) {
    TrainedShell s;
    const FixedMeasurer measurer;
    EXPECT_FALSE(s.shell.paint(640, 480, measurer).has_value());
    s.run(core::CMD_SAMMON_VISUALIZATION);
    const std::vector<std::string> projections = s.host.entries("sammon ");
    ASSERT_EQ(projections.size(), 1u);
    EXPECT_EQ(projections[0].substr(projections[0].rfind(' ')), " 4");
    EXPECT_EQ(s.host.log.back(), "repaint");
    const std::optional<DisplayList> picture = s.shell.paint(640, 480, measurer);
    ASSERT_TRUE(picture.has_value());
    EXPECT_FALSE(picture->empty());

    s.host.clear_records();
    s.run(core::CMD_SAMMON_VISUALIZATION);
    EXPECT_TRUE(s.host.log.empty());
    EXPECT_FALSE(s.shell.paint(640, 480, measurer).has_value());

    // The check mark goes with the command when a dialog grays it.
    s.run(core::CMD_SAMMON_VISUALIZATION);
    s.host.clear_records();
    s.run(core::CMD_PICK_DATAPOINTS, {press(CONTROL_CANCEL)});
    EXPECT_FALSE(s.shell.paint(640, 480, measurer).has_value());
}

TEST(Shell, ConvergenceShowsEveryStepInTheFixpointBoxThenTheFinalValue) {
    TrainedShell s;
    s.run(core::CMD_SAMMON_VISUALIZATION);
    s.host.clear_records();
    s.run(core::CMD_CONVERGE);
    const std::vector<std::string>& log = s.host.log;
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[0], "wait begin");
    EXPECT_EQ(log[1], "status open FIXPOINT centered");
    EXPECT_EQ(log[log.size() - 3], "status close FIXPOINT");
    EXPECT_EQ(log[log.size() - 2],
              "box Fixpoint|New heterogeneity = " + s.host.status_texts.at(FIXPOINT_HETEROGENEITY));
    EXPECT_EQ(log.back(), "wait end");
    const std::vector<std::string> steps = s.host.entries("fixpoint");
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(s.host.entries(std::string("status ") + std::to_string(FIXPOINT_HETEROGENEITY)).size(),
              steps.size());
    EXPECT_EQ(s.host.status_texts.at(FIXPOINT_HETEROGENEITY),
              format_real("%15.2f", std::stod(steps.back().substr(9))));
    EXPECT_EQ(s.host.messages.back().icon, Icon::information);
    EXPECT_FALSE(s.ws.availability.is_visualization_on());
    EXPECT_TRUE(s.ws.availability.is_enabled(core::CMD_CONVERGE));
}

// The measures chart keeps the epochs of every run since the prototypes were
// last given values.
TEST(Shell, MeasuresHistoryKeepsTheEpochsSinceThePrototypesWereSet) {
    ShellSetup s;
    s.run(core::CMD_IMPORT_DATAVECTORS,
          {type(IMPORT_NDATA, "12"), type(IMPORT_NVARS, "2"), press(CONTROL_OK)},
          {s.dir.write("d.dat", veltra::testing::TWELVE_BY_TWO)});
    s.run(core::CMD_MAP_SIZE, {type(MAP_ROWS, "2"), type(MAP_COLS, "2"), press(CONTROL_OK)});
    s.run(core::CMD_RANDOM_WEIGHTS, {type(WEIGHTS_UPPER, "6"), type(WEIGHTS_LOWER, "0"), press(CONTROL_OK)});
    s.run(core::CMD_SOM_TRAINING, {type(SOM_EPOCHS, "2"), press(CONTROL_OK), press(CONTROL_CANCEL)});
    s.run(core::CMD_SOM_TRAINING, {type(SOM_EPOCHS, "1"), press(CONTROL_OK), press(CONTROL_CANCEL)});
    const auto& epochs = s.shell.session().measures.epochs();
    ASSERT_EQ(epochs.size(), 3u);
    EXPECT_EQ(epochs.back().epochs, 3);
    s.run(core::CMD_PICK_DATAPOINTS, {type(TRIALS_COUNT, "2"), press(CONTROL_OK), press(CONTROL_CANCEL)});
    EXPECT_TRUE(s.shell.session().measures.epochs().empty());
}

}  // namespace
}  // namespace veltra::ui
