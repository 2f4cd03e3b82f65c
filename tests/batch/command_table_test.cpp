#include "batch/command_table.h"

#include <gtest/gtest.h>

namespace veltra::batch {
namespace {

using Kind = DialogAction::Kind;

BatchCommand command_of(const std::vector<std::string>& words) {
    auto result = parse_command(words);
    if (const auto* error = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<BatchCommand>(result);
}

std::string error_of(const std::vector<std::string>& words) {
    auto result = parse_command(words);
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "(accepted)";
}

TEST(CommandTable, TypesEachArgumentIntoItsFieldAndPressesTheButtons) {
    const BatchCommand import = command_of({"import-datavectors", "a b.dat", "150", "4"});
    EXPECT_EQ(import.command_id, 11);
    EXPECT_EQ(import.path, "a b.dat");
    EXPECT_EQ(import.actions, (std::vector<DialogAction>{
                                  {Kind::type, 105, "150"}, {Kind::type, 106, "4"}, {Kind::press, 101, ""}}));

    // Arguments reach the dialog as typed; reading them is the dialog's business.
    EXPECT_EQ(command_of({"map-size", " 3x", "-0"}).actions[0].text, " 3x");

    const BatchCommand train = command_of({"train", "20", "2", "0.1", "0.5", "5", "1", "0.02", "0.3"});
    EXPECT_EQ(train.command_id, 41);
    EXPECT_FALSE(train.path);
    EXPECT_EQ(train.actions, (std::vector<DialogAction>{{Kind::type, 105, "20"},
                                                        {Kind::type, 118, "2"},
                                                        {Kind::type, 122, "0.1"},
                                                        {Kind::type, 124, "0.5"},
                                                        {Kind::press, 101, ""},
                                                        {Kind::type, 105, "5"},
                                                        {Kind::type, 118, "1"},
                                                        {Kind::type, 122, "0.02"},
                                                        {Kind::type, 124, "0.3"},
                                                        {Kind::press, 101, ""},
                                                        {Kind::press, 102, ""}}));

    EXPECT_EQ(command_of({"pick-datapoints", "3", "7"}).actions,
              (std::vector<DialogAction>{{Kind::type, 105, "3"},
                                         {Kind::press, 101, ""},
                                         {Kind::type, 105, "7"},
                                         {Kind::press, 101, ""},
                                         {Kind::press, 102, ""}}));
    const BatchCommand recall = command_of({"recall-assignment", "out.lst", "2", "3"});
    EXPECT_EQ(recall.command_id, 43);
    EXPECT_EQ(recall.path, "out.lst");
    EXPECT_EQ(recall.actions.size(), 3u);

    const BatchCommand export_violations = command_of({"export-violations", "v.vio"});
    EXPECT_EQ(export_violations.command_id, 14);
    EXPECT_TRUE(export_violations.actions.empty());
    EXPECT_EQ(command_of({"sammon"}).svg_path, std::nullopt);
    EXPECT_EQ(command_of({"sammon", "map.svg"}).svg_path, "map.svg");
    EXPECT_EQ(command_of({"converge"}).command_id, 34);
}

TEST(CommandTable, RejectsUnknownNamesAndWrongArgumentCounts) {
    EXPECT_EQ(error_of({"Map-Size", "1", "1"}), "unknown command \"Map-Size\"");
    EXPECT_EQ(error_of({"map-size", "1"}), "wrong number of arguments; usage: map-size ROWS COLS");
    EXPECT_EQ(error_of({"show-map", "x"}), "wrong number of arguments; usage: show-map");
    EXPECT_EQ(error_of({"import-prototypes"}), "wrong number of arguments; usage: import-prototypes PATH");
    EXPECT_EQ(error_of({"pick-datapoints"}),
              "wrong number of arguments; usage: pick-datapoints TRIALS [TRIALS ...]");
    EXPECT_NE(error_of({"train", "1", "0", "0.1"}), "(accepted)");
    EXPECT_NE(error_of({"train", "1", "0", "0.1", "0.1", "2"}), "(accepted)");
    EXPECT_NE(error_of({"sammon", "a.svg", "b.svg"}), "(accepted)");
    EXPECT_NE(error_of({"recall-frequency", "f.frq", "1"}), "(accepted)");
}

}  // namespace
}  // namespace veltra::batch
