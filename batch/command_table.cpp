#include "batch/command_table.h"

#include <array>
#include <span>
#include <string_view>

#include "core/availability.h"
#include "ui/control_ids.h"

namespace veltra::batch {

namespace {

enum class Shape {
    plain,     // the fields once, then OK
    repeated,  // per group of fields: the fields, then Calculate; at last Done
    picture,   // an optional SVG path
    chart,     // an SVG path
    settings,  // NAME=VALUE words, each typed into the field of its name, then OK
    kind,      // a word typed into the one field, then the path; then OK
};

struct CommandEntry {
    std::string_view name;
    int command_id;
    bool takes_path;
    std::span<const int> fields;  // typed in this order from the arguments
    Shape shape;
    std::string_view usage;
    std::string_view description;  // one short line for --help and the manual
};

constexpr std::array<int, 0> NO_FIELDS{};
constexpr std::array<int, 2> IMPORT_FIELDS{ui::IMPORT_NDATA, ui::IMPORT_NVARS};
constexpr std::array<int, 2> MAP_FIELDS{ui::MAP_ROWS, ui::MAP_COLS};
constexpr std::array<int, 2> WEIGHTS_FIELDS{ui::WEIGHTS_UPPER, ui::WEIGHTS_LOWER};
constexpr std::array<int, 1> TRIALS_FIELD{ui::TRIALS_COUNT};
constexpr std::array<int, 1> PAIRWISE_FIELD{ui::PAIRWISE_COUNT};
constexpr std::array<int, 4> SCHEDULE_FIELDS{ui::SOM_EPOCHS, ui::SOM_ORDER, ui::SOM_RATE, ui::SOM_FACTOR};
constexpr std::array<int, 2> RECALL_FIELDS{ui::RECALL_START, ui::RECALL_CYCLE};

constexpr std::array<int, 1> KIND_FIELD{ui::TABLE_KIND};

// The settings of import-table by name, and the fields they are typed into.
struct Setting {
    std::string_view name;
    int field;
};
constexpr std::array<Setting, 6> TABLE_SETTINGS{{
    {"delimiter", ui::TABLE_DELIMITER},
    {"header", ui::TABLE_HEADER},
    {"decimal", ui::TABLE_DECIMAL},
    {"missing", ui::TABLE_MISSING},
    {"scale", ui::TABLE_SCALE},
    {"skip", ui::TABLE_SKIP},
}};

// One row per command; --help and the manual list them in this order.
// clang-format off
constexpr CommandEntry COMMANDS[] = {
    {"import-datavectors", core::CMD_IMPORT_DATAVECTORS, true, IMPORT_FIELDS, Shape::plain, "PATH NDATA NVARS", "read NDATA datavectors of NVARS numbers"},
    {"import-prototypes", core::CMD_IMPORT_PROTOTYPES, true, NO_FIELDS, Shape::plain, "PATH", "read the prototypes from a weights file"},
    {"export-prototypes", core::CMD_EXPORT_PROTOTYPES, true, NO_FIELDS, Shape::plain, "PATH", "write the prototypes (.wgt)"},
    {"export-violations", core::CMD_EXPORT_VIOLATIONS, true, NO_FIELDS, Shape::plain, "PATH", "write the violations per prototype (.vio)"},
    {"export-mean-values", core::CMD_EXPORT_MEAN_VALUES, true, NO_FIELDS, Shape::plain, "PATH", "write the mean datavector per prototype (.avg)"},
    {"map-size", core::CMD_MAP_SIZE, false, MAP_FIELDS, Shape::plain, "ROWS COLS", "size the map, at most 36 prototypes"},
    {"show-map", core::CMD_MAP_SHOW, false, NO_FIELDS, Shape::plain, "", "print the incidence matrix"},
    {"random-weights", core::CMD_RANDOM_WEIGHTS, false, WEIGHTS_FIELDS, Shape::plain, "UPPER LOWER", "random prototypes between LOWER and UPPER"},
    {"pick-datapoints", core::CMD_PICK_DATAPOINTS, false, TRIALS_FIELD, Shape::repeated, "TRIALS [TRIALS ...]", "best of TRIALS random picks of datavectors"},
    {"converge", core::CMD_CONVERGE, false, NO_FIELDS, Shape::plain, "", "move the prototypes to their centroids"},
    {"pairwise-exchange", core::CMD_PAIRWISE_EXCHANGE, false, PAIRWISE_FIELD, Shape::repeated, "CHANGES [CHANGES ...]", "swap prototypes to lower the simplicity"},
    {"train", core::CMD_SOM_TRAINING, false, SCHEDULE_FIELDS, Shape::repeated, "EPOCHS ORDER RATE FACTOR [...]", "SOM training, one stage per four values"},
    {"recall-frequency", core::CMD_RECALL_FREQUENCY, true, RECALL_FIELDS, Shape::plain, "PATH START CYCLE", "write the wins per prototype (.frq)"},
    {"recall-assignment", core::CMD_RECALL_ASSIGNMENT, true, RECALL_FIELDS, Shape::plain, "PATH START CYCLE", "write the prototype of each datavector (.lst)"},
    {"sammon", core::CMD_SAMMON_VISUALIZATION, false, NO_FIELDS, Shape::picture, "[SVG-PATH]", "project the prototypes; draw the view as SVG"},
    {"import-table", core::CMD_IMPORT_TABLE, true, NO_FIELDS, Shape::settings, "PATH [NAME=VALUE ...]", "read a CSV or TSV table with names and labels"},
    {"export-table", core::CMD_EXPORT_TABLE, false, KIND_FIELD, Shape::kind, "prototypes|assignment|frequency PATH", "write a CSV table with names"},
    {"hits", core::CMD_VIEW_HIT_MAP, false, NO_FIELDS, Shape::picture, "[SVG-PATH]", "print the hits; draw the hit map as SVG"},
    {"umatrix", core::CMD_VIEW_U_MATRIX, false, NO_FIELDS, Shape::picture, "[SVG-PATH]", "print the U-matrix; draw it as SVG"},
    {"planes", core::CMD_VIEW_COMPONENT_PLANES, false, NO_FIELDS, Shape::picture, "[SVG-PATH]", "draw the component planes as SVG"},
    {"labels", core::CMD_VIEW_LABEL_MAP, false, NO_FIELDS, Shape::picture, "[SVG-PATH]", "print the label map; draw it as SVG"},
    {"chart", core::CMD_VIEW_MEASURES_CHART, false, NO_FIELDS, Shape::chart, "SVG-PATH", "draw the measures per epoch as SVG"},
};
// clang-format on

bool argument_count_fits(const CommandEntry& entry, std::size_t arguments) {
    const std::size_t fixed = entry.takes_path ? 1 : 0;
    switch (entry.shape) {
        case Shape::plain:
            return arguments == fixed + entry.fields.size();
        case Shape::repeated:
            return arguments > fixed && (arguments - fixed) % entry.fields.size() == 0;
        case Shape::picture:
            return arguments <= 1;
        case Shape::chart:
            return arguments == 1;
        case Shape::settings:
            return arguments >= 1;
        case Shape::kind:
            return arguments == 2;
    }
    return false;
}

void type_fields(std::vector<DialogAction>& actions, std::span<const int> fields,
                 std::span<const std::string> values) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        actions.push_back({DialogAction::Kind::type, fields[i], values[i]});
    }
}

void press(std::vector<DialogAction>& actions, int id) {
    actions.push_back({DialogAction::Kind::press, id, {}});
}

}  // namespace

std::variant<BatchCommand, std::string> parse_command(const std::vector<std::string>& words) {
    if (words.empty()) return std::string("empty command");
    const CommandEntry* entry = nullptr;
    for (const CommandEntry& candidate : COMMANDS) {
        if (candidate.name == words[0]) entry = &candidate;
    }
    if (!entry) return "unknown command \"" + words[0] + "\"";
    std::span<const std::string> arguments(words.begin() + 1, words.end());
    if (!argument_count_fits(*entry, arguments.size())) {
        return "wrong number of arguments; usage: " + std::string(entry->name) +
               (entry->usage.empty() ? "" : " ") + std::string(entry->usage);
    }

    BatchCommand command{std::string(entry->name), entry->command_id, std::nullopt, {}, std::nullopt};
    if (entry->takes_path) {
        command.path = arguments.front();
        arguments = arguments.subspan(1);
    }
    switch (entry->shape) {
        case Shape::plain:
            if (!entry->fields.empty()) {
                type_fields(command.actions, entry->fields, arguments);
                press(command.actions, ui::CONTROL_OK);
            }
            break;
        case Shape::repeated:
            for (std::size_t i = 0; i < arguments.size(); i += entry->fields.size()) {
                type_fields(command.actions, entry->fields, arguments.subspan(i, entry->fields.size()));
                press(command.actions, ui::CONTROL_OK);
            }
            press(command.actions, ui::CONTROL_CANCEL);
            break;
        case Shape::picture:
        case Shape::chart:
            if (!arguments.empty()) command.svg_path = arguments.front();
            break;
        case Shape::settings:
            for (const std::string& argument : arguments) {
                const std::size_t equals = argument.find('=');
                const Setting* setting = nullptr;
                for (const Setting& candidate : TABLE_SETTINGS) {
                    if (equals != std::string::npos && argument.compare(0, equals, candidate.name) == 0 &&
                        candidate.name.size() == equals)
                        setting = &candidate;
                }
                if (!setting) {
                    std::string error = "unknown setting \"";
                    error += argument;
                    error += "\"; settings: delimiter, header, decimal, missing, scale, skip";
                    return error;
                }
                command.actions.push_back(
                    {DialogAction::Kind::type, setting->field, argument.substr(equals + 1)});
            }
            press(command.actions, ui::CONTROL_OK);
            break;
        case Shape::kind:
            type_fields(command.actions, entry->fields, arguments.subspan(0, 1));
            command.path = arguments[1];
            press(command.actions, ui::CONTROL_OK);
            break;
    }
    return command;
}

std::vector<CommandHelp> command_help() {
    std::vector<CommandHelp> help;
    for (const CommandEntry& entry : COMMANDS) help.push_back({entry.name, entry.usage, entry.description});
    return help;
}

std::string_view command_name(int command_id) {
    for (const CommandEntry& entry : COMMANDS) {
        if (entry.command_id == command_id) return entry.name;
    }
    return {};
}

}  // namespace veltra::batch
