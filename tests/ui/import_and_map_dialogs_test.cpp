#include <gtest/gtest.h>

#include "core/clock.h"
#include "recording_host.h"
#include "tests/support/workspace_setup.h"
#include "ui/control_ids.h"
#include "ui/headless_dialog.h"
#include "ui/import_filter_dialog.h"
#include "ui/map_shape_dialog.h"

namespace veltra::ui {
namespace {

using testing::press;
using testing::type;

TEST(ImportFilterDialog, ReadsFiveCharactersStepsWithinBoundsAndKeepsOpenOnReadErrors) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    const std::string path = dir.write("six.dat", "1 2 3 4 5 6\n");
    host.file_answers = {path};
    ImportFilterDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(host.entries("open"), std::vector<std::string>{"open 0"});
    EXPECT_EQ(dialog.item_text(IMPORT_FILE_NAME), path);
    EXPECT_EQ(ws.data_file_name, path);

    // The steppers: out-of-range values only move towards the range.
    dialog.type(IMPORT_NDATA, "40000");
    dialog.press(IMPORT_NDATA_DOWN);
    EXPECT_EQ(dialog.item_text(IMPORT_NDATA), "39999");
    dialog.type(IMPORT_NVARS, "abc");
    dialog.press(IMPORT_NVARS_UP);
    EXPECT_EQ(dialog.item_text(IMPORT_NVARS), "1");
    dialog.press(IMPORT_NVARS_DOWN);
    EXPECT_EQ(dialog.item_text(IMPORT_NVARS), "1");
    dialog.type(IMPORT_NDATA, "32767");
    dialog.press(IMPORT_NDATA_UP);
    EXPECT_EQ(dialog.item_text(IMPORT_NDATA), "32767");

    // The datavectors are checked first; then the variables.
    dialog.type(IMPORT_NDATA, "0");
    dialog.type(IMPORT_NVARS, "-3");
    dialog.press(CONTROL_OK);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "# of datavectors must be in the range [1,32767]!");
    EXPECT_EQ(host.messages[0].caption, "Invalid Input");
    EXPECT_EQ(host.messages[0].icon, Icon::exclamation);
    dialog.type(IMPORT_NDATA, "2");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.messages.back().text, "# of variables must be in the range [1,32767]!");
    EXPECT_EQ(host.entries("beep"), (std::vector<std::string>{"beep exclamation", "beep exclamation"}));

    // 327670 reads as 32767, which passes; the file is too short for it.
    host.clear_records();
    dialog.type(IMPORT_NDATA, "327670");
    dialog.type(IMPORT_NVARS, "2");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"wait begin", "beep error",
                                        "box Error Reading File|Can not import data!", "wait end"}));
    EXPECT_FALSE(dialog.ended());
    EXPECT_EQ(ws.ndata, 32767);
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_MAP_SIZE));

    // A size that fits the file succeeds.
    host.clear_records();
    dialog.type(IMPORT_NDATA, "3");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"wait begin", "wait end", "box Import Datavectors|Data file read."}));
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(ws.ndata, 3);
    EXPECT_EQ(ws.nvars, 2);
    EXPECT_EQ(ws.data[2][1], 6.0);
    EXPECT_TRUE(ws.availability.is_enabled(core::CMD_MAP_SIZE));
}

TEST(ImportFilterDialog, CancelledFileChoiceEndsAtOnceAndStillGraysEverything) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
    veltra::testing::prototypes_from_data(ws);
    ws.availability.raise(core::AvailabilityEvent::toggle_visualization);
    ws.data_file_name = "earlier.dat";

    ImportFilterDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_AT_START);
    EXPECT_FALSE(ws.availability.is_visualization_on());
    EXPECT_EQ(ws.data_file_name, "earlier.dat");
    EXPECT_TRUE(host.messages.empty());

    // Cancel after a file was chosen: nothing but the grays.
    host.file_answers = {dir.path("data.dat")};
    HeadlessDialog second(procedure, host);
    ASSERT_TRUE(second.open());
    second.press(CONTROL_HELP);
    second.press(CONTROL_CANCEL);
    EXPECT_EQ(second.result(), 0);
    EXPECT_EQ(host.entries("help"), std::vector<std::string>{"help import datavectors"});
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_AT_START);
}

TEST(MapShapeDialog, AcceptsOneToThirtySixPrototypesAndArrowsNeverLeaveThatRange) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 1, 1);
    MapShapeDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_DATA);

    const auto shape_after = [&](const char* rows, const char* cols, int button) {
        dialog.type(MAP_ROWS, rows);
        dialog.type(MAP_COLS, cols);
        dialog.press(button);
        return dialog.item_text(MAP_ROWS) + "x" + dialog.item_text(MAP_COLS);
    };
    EXPECT_EQ(shape_after("6", "6", MAP_ROWS_UP), "6x6");
    EXPECT_EQ(shape_after("6", "6", MAP_COLS_UP), "6x6");
    EXPECT_EQ(shape_after("1", "5", MAP_ROWS_DOWN), "1x5");
    EXPECT_EQ(shape_after("1", "36", MAP_ROWS_UP), "1x36");
    EXPECT_EQ(shape_after("5", "7", MAP_COLS_UP), "5x7");
    EXPECT_EQ(shape_after("5", "7", MAP_ROWS_UP), "5x7");
    EXPECT_EQ(shape_after("5", "8", MAP_ROWS_DOWN), "4x8");
    EXPECT_EQ(shape_after("0", "5", MAP_ROWS_UP), "1x5");
    EXPECT_EQ(shape_after("99999999", "99999999", MAP_ROWS_DOWN), "99999999x99999999");
    EXPECT_TRUE(host.messages.empty());

    const char* const RANGE = "Rows * Cols must be in the range [1,36]!";
    for (const auto& [rows, cols] : std::vector<std::pair<const char*, const char*>>{
             {"37", "1"}, {"0", "5"}, {"", "4"}, {"abc", "2"}, {"-2", "-3"}, {"99999999", "99999999"}}) {
        host.clear_records();
        dialog.type(MAP_ROWS, rows);
        dialog.type(MAP_COLS, cols);
        dialog.press(CONTROL_OK);
        ASSERT_EQ(host.messages.size(), 1u) << rows << "x" << cols;
        EXPECT_EQ(host.messages[0].text, RANGE);
        EXPECT_EQ(host.messages[0].caption, "Invalid Input");
        EXPECT_EQ(host.entries("beep"), std::vector<std::string>{"beep exclamation"});
        EXPECT_EQ(host.wait_depth, 0);
        EXPECT_FALSE(dialog.ended());
    }
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_MAP_SHOW));

    host.clear_records();
    dialog.type(MAP_ROWS, "3x");
    dialog.type(MAP_COLS, " 2");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.log, (std::vector<std::string>{"wait begin", "wait end",
                                                  "box Map Creation|Incidence matrix defined."}));
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(ws.rows, 3);
    EXPECT_EQ(ws.cols, 2);
    EXPECT_EQ(ws.nprotos, 6);
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_MAP);
}

TEST(MapShapeDialog, SixBySixIsAcceptedAndCancelLeavesTheMapCommandsGrayed) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
    veltra::testing::prototypes_from_data(ws);
    ws.availability.raise(core::AvailabilityEvent::toggle_visualization);

    MapShapeDialog procedure(ws, host);
    HeadlessDialog cancelled(procedure, host);
    ASSERT_TRUE(cancelled.open());
    cancelled.press(CONTROL_HELP);
    cancelled.press(CONTROL_CANCEL);
    EXPECT_EQ(cancelled.result(), 0);
    EXPECT_EQ(host.entries("help"), std::vector<std::string>{"help size map"});
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_DATA);
    EXPECT_FALSE(ws.availability.is_visualization_on());

    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    dialog.type(MAP_ROWS, "6");
    dialog.type(MAP_COLS, "6");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(ws.nprotos, 36);
    EXPECT_EQ(ws.incidence[0][35], 5);
}

// The winner searches' scratch is the last of the map storage: when the heap
// refuses it, the map is not defined and the user gets the memory message.
TEST(MapShapeDialog, NoMemoryForTheKernelsScratchIsTheMemoryMessage) {
    core::FixedClock clock(1000);
    core::Workspace ws(clock);
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 1, 1);
    MapShapeDialog procedure(ws, host);
    // A 1 x 2 map's fields take 9 blocks, the kernels' scratch 2 more.
    for (const std::size_t budget : {9u, 10u}) {
        host.clear_records();
        HeadlessDialog dialog(procedure, host);
        ASSERT_TRUE(dialog.open());
        dialog.type(MAP_ROWS, "1");
        dialog.type(MAP_COLS, "2");
        ws.heap.set_allocation_budget(budget);
        dialog.press(CONTROL_OK);
        ws.heap.set_allocation_budget(std::nullopt);
        EXPECT_EQ(host.entries("box"),
                  std::vector<std::string>{
                      "box Not Enough Memory|Can not allocate memory! Close other applications."})
            << budget;
        EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_DATA) << budget;
    }
}

}  // namespace
}  // namespace veltra::ui
