// Fuzzes the script syntax: any bytes must give either command lines or an
// error naming a line, and every command line must translate into a command
// or a reason, without a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "batch/command_table.h"
#include "batch/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace veltra::batch;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int64_t line_feeds = 0;
    for (const char c : text) line_feeds += c == '\n';

    auto result = read_script(text);
    if (const auto* error = std::get_if<ScriptError>(&result)) {
        if (error->line < 1 || error->line > line_feeds + 1 || error->message.empty()) std::abort();
        return 0;
    }
    std::int64_t previous = 0;
    for (const ScriptLine& line : std::get<std::vector<ScriptLine>>(result)) {
        if (line.number <= previous || line.number > line_feeds + 1 || line.words.empty()) std::abort();
        previous = line.number;
        for (const std::string& word : line.words) {
            if (word.find_first_of(std::string_view("\n\"\0", 3)) != std::string::npos) std::abort();
        }
        auto command = parse_command(line.words);
        if (const auto* parsed = std::get_if<BatchCommand>(&command);
            parsed && parsed->name != line.words[0]) {
            std::abort();
        }
    }
    return 0;
}
