#include "batch/usage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "batch/availability_hint.h"
#include "batch/command_table.h"

namespace veltra::batch {
namespace {

std::string roff(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '-') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// How --help starts the line of a command or an output line.
std::string help_entry(std::string_view name, std::string_view arguments) {
    std::string entry = "\n  ";
    entry += name;
    if (!arguments.empty()) {
        entry += ' ';
        entry += arguments;
    }
    return entry;
}

// How the manual tags it: the name in bold, the arguments in italics.
std::string manual_entry(std::string_view name, std::string_view arguments) {
    std::string entry = "\n\\fB";
    entry += roff(name);
    entry += "\\fR";
    if (!arguments.empty()) {
        entry += " \\fI";
        entry += roff(arguments);
        entry += "\\fR";
    }
    entry += '\n';
    return entry;
}

std::string manual() {
    std::ifstream file(VELTRA_TEST_DATA_DIR "/../docs/veltra-batch.1");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A command added to the table but not to the manual, or a manual that
// still shows old arguments, fails here; --help is made from the table.
TEST(Usage, HelpAndManualShowEveryCommandWithItsArgumentsAndEveryOutputLine) {
    std::ostringstream help;
    write_help(help);
    const std::string man = manual();
    ASSERT_FALSE(man.empty());
    for (const CommandHelp& command : command_help()) {
        EXPECT_NE(help.str().find(help_entry(command.name, command.arguments)), std::string::npos)
            << command.name;
        EXPECT_NE(help.str().find(command.description), std::string::npos) << command.name;
        EXPECT_NE(man.find(manual_entry(command.name, command.arguments)), std::string::npos)
            << "the manual lacks " << command.name << ' ' << command.arguments;
    }
    for (const OutputLineHelp& line : output_line_help()) {
        EXPECT_NE(help.str().find(help_entry(line.name, line.columns)), std::string::npos) << line.name;
        EXPECT_NE(man.find(manual_entry(line.name, line.columns)), std::string::npos)
            << "the manual lacks " << line.name << ' ' << line.columns;
    }
    EXPECT_NE(help.str().find("COMBINED"), std::string::npos);
}

// The message names the steps still missing, back to the first one that can
// run now, with the commands that take them.
TEST(NotAvailableMessage, NamesWhatMustComeFirst) {
    using core::AvailabilityEvent;
    core::Availability availability;
    EXPECT_EQ(not_available_message(core::CMD_MAP_SIZE, availability),
              "map-size is not available now: import datavectors (import-datavectors) first");
    EXPECT_EQ(not_available_message(core::CMD_RECALL_ASSIGNMENT, availability),
              "recall-assignment is not available now: import datavectors (import-datavectors), size the "
              "map (map-size), give the prototypes values (random-weights, pick-datapoints or "
              "import-prototypes) and train the map (train) first");
    availability.raise(AvailabilityEvent::data_imported);
    EXPECT_EQ(not_available_message(core::CMD_SOM_TRAINING, availability),
              "train is not available now: size the map (map-size) and give the prototypes values "
              "(random-weights, pick-datapoints or import-prototypes) first");
    // The views wait for the prototypes; the label map also for labels.
    EXPECT_EQ(not_available_message(core::CMD_VIEW_HIT_MAP, availability),
              "hits is not available now: size the map (map-size) and give the prototypes values "
              "(random-weights, pick-datapoints or import-prototypes) first");
    EXPECT_EQ(not_available_message(core::CMD_VIEW_LABEL_MAP, availability),
              "labels is not available now: it needs a table with a label column (import-table) and "
              "prototypes with values");
    availability.raise(AvailabilityEvent::map_defined);
    availability.raise(AvailabilityEvent::prototypes_set);
    availability.raise(AvailabilityEvent::training_done);
    // A pairwise exchange after training withdraws what training gave.
    availability.raise(AvailabilityEvent::begin_exchange);
    EXPECT_EQ(not_available_message(core::CMD_EXPORT_VIOLATIONS, availability),
              "export-violations is not available now: train the map (train) first");
}

TEST(Usage, VersionNamesTheProgramAndItsBuild) {
    std::ostringstream version;
    write_version(version);
    EXPECT_EQ(version.str().rfind("veltra-batch ", 0), 0u) << version.str();
    EXPECT_NE(version.str().find("\nbuilt from "), std::string::npos) << version.str();
}

}  // namespace
}  // namespace veltra::batch
