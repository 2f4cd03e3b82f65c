#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace veltra::batch {

// What a script does inside a dialog: type into a field, or press a button.
struct DialogAction {
    enum class Kind { type, press };
    Kind kind;
    int id;
    std::string text;  // typed text; empty for a press
    friend bool operator==(const DialogAction&, const DialogAction&) = default;
};

// One script command as its menu command: the command id, the answer to its
// file choice, and what is done in its dialog, in order.
struct BatchCommand {
    std::string name;
    int command_id;
    std::optional<std::string> path;  // the file chosen in the Open or Save dialog
    std::vector<DialogAction> actions;
    std::optional<std::string> svg_path;  // sammon and the views: where to draw the picture
};

// The command of a script line's words (the first word names it), or why the
// words are no valid command (unknown name, wrong number of arguments).
std::variant<BatchCommand, std::string> parse_command(const std::vector<std::string>& words);

// What --help and the manual say of one command.
struct CommandHelp {
    std::string_view name;
    std::string_view arguments;  // empty when it takes none
    std::string_view description;
};

// Every command, in the order of the table.
std::vector<CommandHelp> command_help();

// The name of the command with this menu command id; empty when no command
// runs it.
std::string_view command_name(int command_id);

}  // namespace veltra::batch
