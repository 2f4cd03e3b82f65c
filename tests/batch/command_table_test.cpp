#include "batch/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/availability.h"
#include "ui/control_ids.h"
#include "ui/dialog_templates.h"
#include "ui/table_export_dialog.h"
#include "ui/table_import_dialog.h"

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
    EXPECT_EQ(import.command_id, core::CMD_IMPORT_DATAVECTORS);
    EXPECT_EQ(import.path, "a b.dat");
    EXPECT_EQ(import.actions, (std::vector<DialogAction>{{Kind::type, ui::IMPORT_NDATA, "150"},
                                                         {Kind::type, ui::IMPORT_NVARS, "4"},
                                                         {Kind::press, ui::CONTROL_OK, ""}}));

    // Arguments reach the dialog as typed; reading them is the dialog's business.
    EXPECT_EQ(command_of({"map-size", " 3x", "-0"}).actions[0].text, " 3x");

    const BatchCommand train = command_of({"train", "20", "2", "0.1", "0.5", "5", "1", "0.02", "0.3"});
    EXPECT_EQ(train.command_id, core::CMD_SOM_TRAINING);
    EXPECT_FALSE(train.path);
    EXPECT_EQ(train.actions, (std::vector<DialogAction>{{Kind::type, ui::SOM_EPOCHS, "20"},
                                                        {Kind::type, ui::SOM_ORDER, "2"},
                                                        {Kind::type, ui::SOM_RATE, "0.1"},
                                                        {Kind::type, ui::SOM_FACTOR, "0.5"},
                                                        {Kind::press, ui::CONTROL_OK, ""},
                                                        {Kind::type, ui::SOM_EPOCHS, "5"},
                                                        {Kind::type, ui::SOM_ORDER, "1"},
                                                        {Kind::type, ui::SOM_RATE, "0.02"},
                                                        {Kind::type, ui::SOM_FACTOR, "0.3"},
                                                        {Kind::press, ui::CONTROL_OK, ""},
                                                        {Kind::press, ui::CONTROL_CANCEL, ""}}));

    EXPECT_EQ(command_of({"pick-datapoints", "3", "7"}).actions,
              (std::vector<DialogAction>{{Kind::type, ui::TRIALS_COUNT, "3"},
                                         {Kind::press, ui::CONTROL_OK, ""},
                                         {Kind::type, ui::TRIALS_COUNT, "7"},
                                         {Kind::press, ui::CONTROL_OK, ""},
                                         {Kind::press, ui::CONTROL_CANCEL, ""}}));
    const BatchCommand recall = command_of({"recall-assignment", "out.lst", "2", "3"});
    EXPECT_EQ(recall.command_id, core::CMD_RECALL_ASSIGNMENT);
    EXPECT_EQ(recall.path, "out.lst");
    EXPECT_EQ(recall.actions.size(), 3u);

    const BatchCommand export_violations = command_of({"export-violations", "v.vio"});
    EXPECT_EQ(export_violations.command_id, core::CMD_EXPORT_VIOLATIONS);
    EXPECT_TRUE(export_violations.actions.empty());
    EXPECT_EQ(command_of({"sammon"}).svg_path, std::nullopt);
    EXPECT_EQ(command_of({"sammon", "map.svg"}).svg_path, "map.svg");
    EXPECT_EQ(command_of({"converge"}).command_id, core::CMD_CONVERGE);
}

// A template that moves a field must not leave the runner typing into a label
// or pressing what is no button.
TEST(CommandTable, TypesOnlyIntoEditsAndPressesOnlyButtonsOfTheCommandsDialog) {
    const std::vector<std::pair<std::vector<std::string>, const ui::DialogTemplate*>> cases = {
        {{"import-datavectors", "d.dat", "1", "1"}, &ui::IMPORTFILTER},
        {{"map-size", "1", "1"}, &ui::MATRIXSIZE},
        {{"random-weights", "1", "0"}, &ui::RANDOMWEIGHTS},
        {{"pick-datapoints", "1"}, &ui::TRIALS},
        {{"pairwise-exchange", "1"}, &ui::PAIRWISE},
        {{"train", "1", "0", "0.1", "0.1"}, &ui::SOM},
        {{"recall-frequency", "f.frq", "1", "1"}, &ui::RECALL},
        {{"import-table", "t.csv", "delimiter=a", "header=a", "decimal=a", "missing=a", "scale=a", "skip=a"},
         &ui::TABLEIMPORT},
        {{"export-table", "prototypes", "t.csv"}, &ui::TABLEEXPORT},
    };
    for (const auto& [words, dialog] : cases) {
        for (const DialogAction& action : command_of(words).actions) {
            const auto& controls = dialog->controls;
            const auto control =
                std::find_if(controls.begin(), controls.end(),
                             [&](const ui::ControlTemplate& c) { return c.id == action.id; });
            ASSERT_NE(control, controls.end()) << words[0] << " control " << action.id;
            if (action.kind == Kind::type) {
                EXPECT_EQ(control->kind, ui::ControlKind::edit) << words[0] << " control " << action.id;
            } else {
                EXPECT_TRUE(control->kind == ui::ControlKind::push_button ||
                            control->kind == ui::ControlKind::default_push_button)
                    << words[0] << " control " << action.id;
            }
        }
    }
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
