#include <gtest/gtest.h>

#include "recording_host.h"
#include "tests/support/workspace_setup.h"
#include "ui/headless_dialog.h"
#include "ui/shell.h"
#include "ui/table_export_dialog.h"
#include "ui/table_import_dialog.h"
#include "ui/table_messages.h"

namespace veltra::ui {
namespace {

using testing::press;
using testing::type;

struct TableDialogTest : ::testing::Test {
    core::Workspace ws;
    veltra::testing::TempDirectory dir;
    testing::RecordingHost host;
};

TEST_F(TableDialogTest, TableCommandsGoWithTheDataCommands) {
    EXPECT_TRUE(ws.availability.is_enabled(core::CMD_IMPORT_TABLE));
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_EXPORT_TABLE));
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
    EXPECT_FALSE(ws.availability.is_enabled(core::CMD_EXPORT_TABLE));
    veltra::testing::prototypes_from_data(ws);
    EXPECT_TRUE(ws.availability.is_enabled(core::CMD_EXPORT_TABLE));
    EXPECT_TRUE(ws.availability.is_enabled(core::CMD_IMPORT_TABLE));
}

TEST_F(TableDialogTest, PreviewCountsAndImport) {
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
    const std::string path = dir.write("t.csv", "x;y;kind\n1;2;a\n3;;b\n5;6;c\n");
    host.file_answers = {path};
    TableImportDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(host.entries("open"), std::vector<std::string>{"open 7"});
    EXPECT_EQ(procedure.preview_headers(), (std::vector<std::string>{"x", "y", "kind"}));
    EXPECT_EQ(procedure.preview_rows().size(), 3u);
    EXPECT_EQ(dialog.item_text(TABLE_SUMMARY),
              "Read as: semicolon delimited, with a header row.\n"
              "Line 3, column 2 (y): missing value (empty cell); choose to drop such rows or fill them in.");

    // Refused on OK: nothing changes, the dialog stays open.
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.messages.back().caption, "Error Reading File");
    EXPECT_FALSE(dialog.ended());
    EXPECT_EQ(ws.ndata, 12);
    EXPECT_TRUE(ws.availability.is_enabled(core::CMD_MAP_SHOW));

    dialog.type(TABLE_MISSING, "Drop");
    dialog.press(TABLE_UPDATE);
    EXPECT_EQ(procedure.preview_headers(), (std::vector<std::string>{"x", "y", "kind (label)"}));
    EXPECT_EQ(dialog.item_text(TABLE_SUMMARY),
              "Read as: semicolon delimited, with a header row.\n"
              "2 datavectors, 2 variables read (label column: kind; 1 row with missing values dropped).");
    dialog.type(TABLE_SCALE, "range");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.messages.back().text,
              "2 datavectors, 2 variables read (label column: kind; 1 row with missing values dropped).");
    EXPECT_EQ(host.messages.back().caption, "Import Table");
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(ws.ndata, 2);
    EXPECT_EQ(ws.data[1][1], 1.0);
    EXPECT_EQ(ws.annotations.labels, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(veltra::testing::enabled_commands(ws), veltra::testing::ENABLED_WITH_DATA);
}

TEST_F(TableDialogTest, SettingsAreCheckedInOrder) {
    host.file_answers = {dir.write("t.csv", "x\n1\n")};
    TableImportDialog procedure(ws, host);
    HeadlessDialog dialog(procedure, host);
    ASSERT_TRUE(dialog.open());
    const std::pair<int, const char*> cases[] = {
        {TABLE_DELIMITER, "Delimiter must be auto, comma, semicolon, tab or blanks!"},
        {TABLE_HEADER, "Header must be auto, yes or no!"},
        {TABLE_DECIMAL, "Decimal mark must be a point (.) or a comma (,)!"},
        {TABLE_MISSING, "Missing values must be refuse or drop!"},
        {TABLE_SCALE, "Scaling must be none, zscore or range!"},
    };
    for (const auto& [field, message] : cases) {
        const std::string before = dialog.item_text(field);
        dialog.type(field, "x");
        dialog.press(CONTROL_OK);
        EXPECT_EQ(host.messages.back().text, message);
        EXPECT_EQ(host.messages.back().caption, "Invalid Input");
        dialog.type(field, before);
    }
    dialog.type(TABLE_DELIMITER, "comma");
    dialog.type(TABLE_DECIMAL, ",");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.messages.back().text, "A decimal comma needs a delimiter other than the comma!");
    dialog.type(TABLE_DELIMITER, "auto");
    dialog.type(TABLE_SKIP, " x , y");
    dialog.press(CONTROL_OK);
    EXPECT_EQ(host.messages.back().text, "No column is named \"y\".");
    EXPECT_EQ(host.messages.back().caption, "Invalid Input");
    EXPECT_EQ(ws.ndata, 0);
    EXPECT_FALSE(dialog.ended());
}

TEST_F(TableDialogTest, CancelledFileChoiceChangesNothing) {
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 2, 2);
    const std::vector<int> before = veltra::testing::enabled_commands(ws);
    Shell shell(ws, host);
    shell.on_command(core::CMD_IMPORT_TABLE);
    EXPECT_EQ(host.entries("open"), std::vector<std::string>{"open 7"});
    EXPECT_EQ(veltra::testing::enabled_commands(ws), before);
}

TEST(TableMessages, EveryRefusalSaysWhereAndWhat) {
    const std::pair<const char*, const char*> cases[] = {
        {"x,y\n1,2\n3,4x\n", "Line 3, column 2 (y): \"4x\" is not a number."},
        {"x,y\n1,2\n3,-inf\n", "Line 3, column 2 (y): \"-inf\" is not a number."},
        {"x,y\n1,2\n1e400,4\n", "Line 3, column 1 (x): \"1e400\" is beyond the range of numbers."},
        {"x,y\n1,NA\n",
         "Line 2, column 2 (y): missing value (\"NA\"); choose to drop such rows or fill them in."},
        {"x,y\n1,2\n3\n", "Line 3, column 2: the row has 1 field where the first row has 2."},
        {"1,2\n3,4,5\n", "Line 2, column 3: the row has 3 fields where the first row has 2."},
        {"x,y\n1,\"2\n", "Line 2, column 2: the quote opened here is never closed."},
        {"x,y\n\"1\"2,3\n", "Line 2, column 1: text follows the closing quote."},
        {"", "The file is empty."},
        {"x,y\n", "The file has a header but no datavectors."},
        {"a,b\nc,d\n", "The file has no column of numbers."},
        {"a;b\n1,5;2,5\n",
         "The file has no column of numbers. With a decimal comma, choose the decimal mark \",\"."},
        {"a;b\n1;2\n3,5;4\n",
         "Line 3, column 1 (a): \"3,5\" is not a number. With a decimal comma, choose the decimal mark "
         "\",\"."},
    };
    for (const auto& [text, message] : cases) {
        const io::TableReadResult result = io::read_table(text, {});
        ASSERT_TRUE(std::holds_alternative<io::TableError>(result)) << text;
        EXPECT_EQ(table_error_message(std::get<io::TableError>(result)), message);
    }
    io::TableOptions options;
    options.max_rows = 1;
    options.missing = io::MissingValues::drop;
    EXPECT_EQ(table_error_message(std::get<io::TableError>(io::read_table("x\n1\n2\n", options))),
              "The file has 2 datavectors; the limit is 1.");
    EXPECT_EQ(table_error_message(std::get<io::TableError>(io::read_table("x,y\nNA,1\n2,?\n", options))),
              "No datavectors are left: every row (2) has a missing value.");
    options.max_variables = 1;
    EXPECT_EQ(table_error_message(std::get<io::TableError>(io::read_table("1,2\n", options))),
              "The file has 2 variables; the limit is 1.");
}

TEST_F(TableDialogTest, ExportDialogWritesTheChosenTable) {
    veltra::testing::prepare_map(ws, dir, veltra::testing::TWELVE_BY_TWO, 12, 2, 1, 2);
    veltra::testing::prototypes_from_data(ws);
    Shell shell(ws, host);
    host.actions = {type(TABLE_KIND, "frequency"), press(CONTROL_OK), type(TABLE_KIND, "Prototypes"),
                    press(CONTROL_OK)};
    host.file_answers = {dir.path("p.csv")};
    shell.on_command(core::CMD_EXPORT_TABLE);
    EXPECT_EQ(host.messages[0].text, "The assignment and frequency tables need a completed SOM training!");
    EXPECT_EQ(host.messages[1].text, "Table written.");
    EXPECT_EQ(host.entries("save"), std::vector<std::string>{"save 8"});
    EXPECT_EQ(dir.read("p.csv"), "prototype,row,col,V1,V2\n1,1,1,0,0\n2,1,2,1,0\n");
}

}  // namespace
}  // namespace veltra::ui
