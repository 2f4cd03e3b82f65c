// Runs fuzzed whole sessions through the batch host. The input is a script, a
// data file and a weights file, separated by lines "%%"; an input starting
// with '!' and a byte N first lets only N heap allocations succeed. Every path
// a script names becomes a file of a scratch folder ("D" holds the data part,
// "W" the weights part), and sessions that would compute long are cut short.
// Oracles: a failed prototype import leaves the prototypes bit for bit; no
// projection holds a NaN; no SVG shows nan or inf; the session leaves no heap
// block behind.
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_host.h"
#include "batch/batch_runner.h"
#include "core/clock.h"
#include "core/workspace.h"
#include "ui/field_reading.h"
#include "ui/shell.h"

namespace {

using namespace veltra;

constexpr std::size_t MAX_INPUT_BYTES = 8192;
constexpr std::size_t MAX_COMMANDS = 24;
// The sum of all numbers typed into fields: counts, epochs, trials, changes.
constexpr std::int64_t MAX_WORK = 256;

const std::string& scratch() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltra-session-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return folder;
}

// A path of the scratch folder named after the last part of `path`.
std::string in_scratch(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (name.empty() || name == "." || name == "..") name = "x";
    return scratch() + "/" + name;
}

void write_file(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void fail(const char* oracle) {
    std::fprintf(stderr, "session oracle failed: %s\n", oracle);
    std::abort();
}

std::vector<double> values_of(const core::Matrix& m, std::int32_t rows, std::int32_t cols) {
    std::vector<double> values;
    for (std::int32_t i = 0; i < rows && i < m.rows(); ++i)
        for (std::int32_t j = 0; j < cols && j < m.cols(); ++j) values.push_back(m[i][j]);
    return values;
}

bool same_bits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Runs the commands one by one, checking the oracles around each.
void run_session(const std::vector<batch::NumberedCommand>& commands, core::Workspace& ws) {
    std::ostringstream out;
    std::ostringstream err;
    batch::BatchHost host(out, err);
    ui::Shell shell(ws, host);
    std::int64_t work = 0;
    const std::string svg = scratch() + "/picture.svg";
    for (std::size_t c = 0; c < commands.size() && c < MAX_COMMANDS; ++c) {
        batch::NumberedCommand numbered = commands[c];
        batch::BatchCommand& command = numbered.command;
        for (const batch::DialogAction& action : command.actions)
            work += std::max(0, ui::leading_integer(action.text));
        if (work > MAX_WORK) return;
        if (command.path) command.path = in_scratch(*command.path);
        if (command.svg_path) command.svg_path = svg;
        std::filesystem::remove(svg);

        const bool importing = command.command_id == core::CMD_IMPORT_PROTOTYPES;
        const std::vector<double> before = values_of(ws.prototypes, ws.nprotos, ws.nvars);
        const bool ran = batch::run_command(numbered, shell, host, err);
        if (importing && host.stopped() && !same_bits(before, values_of(ws.prototypes, ws.nprotos, ws.nvars)))
            fail("a failed prototype import changed the prototypes");
        if (ws.availability.is_visualization_on()) {
            for (std::int32_t p = 0; p < ws.projection_x.size() && p < ws.projection_y.size(); ++p) {
                if (std::isnan(ws.projection_x[p]) || std::isnan(ws.projection_y[p]))
                    fail("a NaN in the projection");
            }
        }
        if (command.svg_path && std::filesystem::exists(svg)) {
            const std::string picture = read_file(svg);
            if (picture.find("nan") != std::string::npos || picture.find("inf") != std::string::npos)
                fail("nan or inf in the SVG");
        }
        if (!ran) return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > MAX_INPUT_BYTES) return -1;  // not added to the corpus
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::optional<std::size_t> budget;
    if (input.size() >= 2 && input[0] == '!') {
        budget = static_cast<unsigned char>(input[1]);
        input.remove_prefix(2);
    }
    std::string_view parts[3];
    for (int k = 0; k < 2; ++k) {
        const std::size_t separator = input.find("\n%%\n");
        parts[k] = input.substr(0, separator);
        input = separator == std::string_view::npos ? std::string_view() : input.substr(separator + 4);
    }
    parts[2] = input;
    write_file(scratch() + "/D", parts[1]);
    write_file(scratch() + "/W", parts[2]);

    std::ostringstream parse_errors;
    const auto commands = batch::parse_script(parts[0], {}, parse_errors);
    if (commands) {
        const core::FixedClock clock(1000000000);
        core::Workspace ws(clock);
        if (budget) ws.heap.set_allocation_budget(*budget);
        run_session(*commands, ws);
        ws.heap.set_allocation_budget(std::nullopt);
        ws.release_all();
        if (ws.heap.live_blocks() != 0) fail("heap blocks left after the session");
    }
    // What the session wrote goes, so that the folder stays small.
    for (const auto& entry : std::filesystem::directory_iterator(scratch())) {
        const std::string name = entry.path().filename().string();
        if (name != "D" && name != "W") std::filesystem::remove_all(entry.path());
    }
    return 0;
}
