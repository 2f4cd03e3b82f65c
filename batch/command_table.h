#pragma once

#include <optional>
#include <string>
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
    std::optional<std::string> svg_path;  // sammon only: where to draw the map view
};

// The command of a script line's words (the first word names it), or why the
// words are no valid command (unknown name, wrong number of arguments).
std::variant<BatchCommand, std::string> parse_command(const std::vector<std::string>& words);

}  // namespace veltra::batch
