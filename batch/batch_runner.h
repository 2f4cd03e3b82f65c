#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "batch/command_table.h"

namespace veltra::ui {
class Shell;
}

namespace veltra::batch {

class BatchHost;

inline constexpr int EXIT_ALL_RAN = 0;
inline constexpr int EXIT_STOPPED = 1;
inline constexpr int EXIT_INVALID_SCRIPT = 2;

// The size of the pictures that `sammon SVG-PATH` and the views draw.
inline constexpr int SVG_WIDTH = 640;
inline constexpr int SVG_HEIGHT = 480;

// Runs a whole script on a fresh workspace. Every line is checked first; a
// line that is no valid command runs nothing and gives EXIT_INVALID_SCRIPT.
// Then the commands run in order, each as its menu command with its dialog;
// the first one that is not available or shows an Invalid Input or error box
// stops the script with EXIT_STOPPED. With `time`, every seeding of the random
// generator sees that calendar time. Results go to `out`, problems to `err`.
// Relative paths in the commands are taken from `folder` (the script file's
// folder); an empty folder leaves them to the current folder.
int run_script(std::string_view script, std::optional<std::int64_t> time, std::ostream& out,
               std::ostream& err, const std::filesystem::path& folder = {});

// A command with the number of its script line.
struct NumberedCommand {
    std::int64_t line;
    BatchCommand command;
};

// The steps of run_script, for callers that watch a session command by
// command. Every line as a command, or nullopt after reporting the first
// invalid one on `err`.
// Relative paths are taken from `folder` when it is not empty.
std::optional<std::vector<NumberedCommand>> parse_script(std::string_view script,
                                                         const std::filesystem::path& folder,
                                                         std::ostream& err);
// Runs one command through the shell, whose host is `host`; false when it
// stopped the script (the reason printed on `err`).
bool run_command(const NumberedCommand& numbered, ui::Shell& shell, BatchHost& host, std::ostream& err);

}  // namespace veltra::batch
