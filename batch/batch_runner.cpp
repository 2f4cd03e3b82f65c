#include "batch/batch_runner.h"

#include <filesystem>
#include <vector>

#include "batch/availability_hint.h"
#include "batch/batch_host.h"
#include "batch/command_table.h"
#include "batch/script_reader.h"
#include "batch/view_commands.h"
#include "core/clock.h"
#include "core/workspace.h"
#include "ui/shell.h"
#include "ui/svg_writer.h"

namespace veltra::batch {

namespace {

std::ostream& at_line(std::ostream& err, std::int64_t line) {
    return err << "veltra-batch: line " << line << ": ";
}

// A file path of a command, taken from `folder` when it is relative.
void take_from(const std::filesystem::path& folder, std::optional<std::string>& path) {
    if (folder.empty() || !path || path->empty() || std::filesystem::path(*path).is_absolute()) return;
    *path = (folder / *path).string();
}

}  // namespace

std::optional<std::vector<NumberedCommand>> parse_script(std::string_view script,
                                                         const std::filesystem::path& folder,
                                                         std::ostream& err) {
    auto lines = read_script(script);
    if (const auto* error = std::get_if<ScriptError>(&lines)) {
        at_line(err, error->line) << error->message << '\n';
        return std::nullopt;
    }
    std::vector<NumberedCommand> commands;
    for (const ScriptLine& line : std::get<std::vector<ScriptLine>>(lines)) {
        auto command = parse_command(line.words);
        if (const auto* error = std::get_if<std::string>(&command)) {
            at_line(err, line.number) << *error << '\n';
            return std::nullopt;
        }
        BatchCommand& parsed = std::get<BatchCommand>(command);
        take_from(folder, parsed.path);
        take_from(folder, parsed.svg_path);
        commands.push_back({line.number, std::move(parsed)});
    }
    return commands;
}

bool run_command(const NumberedCommand& numbered, ui::Shell& shell, BatchHost& host, std::ostream& err) {
    const BatchCommand& command = numbered.command;
    switch (run_menu_command(command, shell, host)) {
        case CommandOutcome::ran:
            if (is_view_command(command.command_id)) print_view_lines(command.command_id, shell, host.out());
            break;
        case CommandOutcome::not_available:
            at_line(err, numbered.line)
                << not_available_message(command.command_id, shell.workspace().availability) << '\n';
            return false;
        case CommandOutcome::stopped:
            at_line(err, numbered.line) << command.name << " stopped the script\n";
            return false;
    }
    if (command.svg_path) {
        const ui::MonospaceMeasurer measurer;
        const ui::DisplayList list = picture_of(command.command_id, shell, SVG_WIDTH, SVG_HEIGHT, measurer);
        if (!ui::write_svg_file(*command.svg_path, list, SVG_WIDTH, SVG_HEIGHT, measurer)) {
            at_line(err, numbered.line) << "can not write the SVG file \"" << *command.svg_path << "\"\n";
            return false;
        }
    }
    return true;
}

int run_script(std::string_view script, std::optional<std::int64_t> time, std::ostream& out,
               std::ostream& err, const std::filesystem::path& folder) {
    const auto commands = parse_script(script, folder, err);
    if (!commands) return EXIT_INVALID_SCRIPT;

    const core::FixedClock fixed_clock(time.value_or(0));
    core::Workspace ws(time ? static_cast<const core::Clock&>(fixed_clock) : core::system_clock());
    BatchHost host(out, err);
    ui::Shell shell(ws, host);
    int status = EXIT_ALL_RAN;
    for (const NumberedCommand& command : *commands) {
        if (!run_command(command, shell, host, err)) {
            status = EXIT_STOPPED;
            break;
        }
    }
    if (!out.flush()) {
        err << "veltra-batch: can not write the standard output\n";
        return EXIT_STOPPED;
    }
    return status;
}

}  // namespace veltra::batch
