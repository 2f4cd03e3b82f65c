#include "ui/recall_dialog.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "recording_host.h"
#include "tests/support/workspace_setup.h"
#include "ui/control_ids.h"
#include "ui/headless_dialog.h"

namespace veltra::ui {
namespace {

struct RecallSetup {
    core::FixedClock clock{1000};
    core::Workspace ws{clock};
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;

    RecallSetup() {
        veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
        veltra::testing::prototypes_from_data(ws);
        ws.availability.raise(core::AvailabilityEvent::training_done);
    }
};

TEST(RecallDialog, CancelledFileChoiceEndsBeforeAnythingIsComputed) {
    RecallSetup s;
    for (RecallKind kind : {RecallKind::frequency, RecallKind::assignment}) {
        RecallDialog procedure(s.ws, s.host, kind);
        HeadlessDialog dialog(procedure, s.host);
        EXPECT_FALSE(dialog.open());
        EXPECT_EQ(dialog.result(), 0);
    }
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"save 5", "save 6"}));
}

TEST(RecallDialog, ChecksTheCycleBeforeTheStartAndStepsWithinBounds) {
    RecallSetup s;
    s.host.file_answers = {s.dir.path("out.frq")};
    RecallDialog procedure(s.ws, s.host, RecallKind::frequency);
    HeadlessDialog dialog(procedure, s.host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(dialog.item_text(RECALL_FILE_NAME), s.dir.path("out.frq"));

    const auto refusal = [&](const char* start, const char* cycle) {
        s.host.clear_records();
        dialog.type(RECALL_START, start);
        dialog.type(RECALL_CYCLE, cycle);
        dialog.press(CONTROL_OK);
        EXPECT_FALSE(dialog.ended());
        EXPECT_EQ(s.host.entries("beep"), std::vector<std::string>{"beep exclamation"});
        return s.host.messages.size() == 1 ? s.host.messages[0].text : std::string("?");
    };
    const std::string CYCLE = "Length of cycle must be in the range [1,32767]!";
    const std::string START = "Start value must be in the range [1,32767]!";
    EXPECT_EQ(refusal("32768", "32768"), CYCLE);
    EXPECT_EQ(refusal("0", "0"), CYCLE);
    EXPECT_EQ(refusal("32768", "1"), START);
    EXPECT_EQ(refusal("-1", "327670"), START);  // five characters: the cycle reads 32767

    for (const auto& [field, down, up] :
         std::vector<std::tuple<int, int, int>>{{RECALL_START, RECALL_START_DOWN, RECALL_START_UP},
                                                {RECALL_CYCLE, RECALL_CYCLE_DOWN, RECALL_CYCLE_UP}}) {
        dialog.type(field, "32767");
        dialog.press(up);
        EXPECT_EQ(dialog.item_text(field), "32767");
        dialog.type(field, "1");
        dialog.press(down);
        EXPECT_EQ(dialog.item_text(field), "1");
        dialog.type(field, "40000");
        dialog.press(down);
        EXPECT_EQ(dialog.item_text(field), "39999");
    }

    s.host.clear_records();
    dialog.type(RECALL_START, "2");
    dialog.type(RECALL_CYCLE, "5");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"wait begin", "wait end",
                                                    "box Recall Frequency|Frequency file written."}));
    EXPECT_EQ(dialog.result(), 1);
    // Datavectors 2, 7 and 12 are won by prototypes 2, 4 and 3.
    EXPECT_EQ(s.dir.read("out.frq"), "    0     1 \r\n    1     1 \r\n");
}

TEST(RecallDialog, AssignmentWritesItsFileAndAWriteErrorStillEndsWithOne) {
    RecallSetup s;
    s.host.file_answers = {s.dir.path("out.lst"), s.dir.path("missing/out.lst"), s.dir.path("late.lst")};
    RecallDialog procedure(s.ws, s.host, RecallKind::assignment);
    {
        HeadlessDialog dialog(procedure, s.host);
        ASSERT_TRUE(dialog.open());
        dialog.press(CONTROL_OK);
        EXPECT_EQ(dialog.result(), 1);
        EXPECT_EQ(s.host.entries("box"),
                  std::vector<std::string>{"box Recall Assignment|Assignment file written."});
        EXPECT_EQ(s.dir.read("out.lst").substr(0, 10), "    1  1\r\n");
    }
    s.host.clear_records();
    {
        HeadlessDialog dialog(procedure, s.host);
        ASSERT_TRUE(dialog.open());
        dialog.press(CONTROL_HELP);
        dialog.press(CONTROL_OK);
        EXPECT_EQ(dialog.result(), 1);
        EXPECT_EQ(s.host.log, (std::vector<std::string>{
                                  "save 6", "help recall assignment", "wait begin", "wait end", "beep error",
                                  "box Error Writing File|Can not write assignment file!"}));
        EXPECT_EQ(s.host.messages[0].icon, Icon::error);
    }
    // A start beyond the datavectors selects none: an empty file, and success.
    s.host.clear_records();
    HeadlessDialog dialog(procedure, s.host);
    ASSERT_TRUE(dialog.open());
    dialog.type(RECALL_START, "100");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(s.host.entries("box"),
              std::vector<std::string>{"box Recall Assignment|Assignment file written."});
    EXPECT_EQ(s.dir.read("late.lst"), "");
}

}  // namespace
}  // namespace veltra::ui
