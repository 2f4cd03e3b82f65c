#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "batch/batch_host.h"
#include "batch/batch_runner.h"
#include "batch/usage.h"
#include "ui/messages.h"

namespace {

using veltra::batch::EXIT_INVALID_SCRIPT;
using veltra::batch::USAGE;

// No real script comes near these; a larger one is refused before it can
// exhaust the memory.
constexpr std::size_t MAX_SCRIPT_BYTES = std::size_t{64} << 20;
constexpr std::size_t MAX_LINE_BYTES = std::size_t{1} << 20;

struct Options {
    enum class Show { nothing, help, version };
    Show show = Show::nothing;  // instead of running a script
    std::optional<std::int64_t> time;
    std::string script = "-";  // standard input
};

std::optional<std::int64_t> parse_seconds(std::string_view text) {
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return seconds;
}

// The options, or nullopt after reporting why they are wrong.
std::optional<Options> parse_options(int argc, char** argv) {
    Options options;
    bool have_script = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            options.show = Options::Show::help;
        } else if (argument == "--version") {
            options.show = Options::Show::version;
        } else if (argument == "--time") {
            if (i + 1 == argc) {
                std::cerr << "veltra-batch: --time needs a number of seconds\n" << USAGE;
                return std::nullopt;
            }
            options.time = parse_seconds(argv[++i]);
            if (!options.time) {
                std::cerr << "veltra-batch: --time needs whole seconds, not \"" << argv[i] << "\"\n" << USAGE;
                return std::nullopt;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::cerr << "veltra-batch: unknown option \"" << argument << "\"\n" << USAGE;
            return std::nullopt;
        } else if (have_script) {
            std::cerr << "veltra-batch: only one script can be run\n" << USAGE;
            return std::nullopt;
        } else {
            options.script = argument;
            have_script = true;
        }
    }
    return options;
}

// The whole script, or nullopt when it cannot be read (errno tells why) or
// is larger than MAX_SCRIPT_BYTES (errno is then EFBIG).
std::optional<std::string> read_all(const std::string& path) {
    std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string text;
    char buffer[65536];
    std::size_t count = 0;
    bool too_large = false;
    while (!too_large && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        too_large = text.size() + count > MAX_SCRIPT_BYTES;
        if (!too_large) text.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (file != stdin) std::fclose(file);
    errno = too_large ? EFBIG : error;
    if (failed || too_large) return std::nullopt;
    return text;
}

// The number of the first line longer than MAX_LINE_BYTES, or 0.
std::int64_t first_overlong_line(std::string_view script) {
    std::int64_t number = 1;
    while (!script.empty()) {
        const std::size_t end = std::min(script.find('\n'), script.size());
        if (end > MAX_LINE_BYTES) return number;
        script.remove_prefix(std::min(end + 1, script.size()));
        ++number;
    }
    return 0;
}

int show(Options::Show what) {
    if (what == Options::Show::help) {
        veltra::batch::write_help(std::cout);
    } else {
        veltra::batch::write_version(std::cout);
    }
    return std::cout.flush() ? veltra::batch::EXIT_ALL_RAN : veltra::batch::EXIT_STOPPED;
}

int run(int argc, char** argv) {
    const std::optional<Options> options = parse_options(argc, argv);
    if (!options) return EXIT_INVALID_SCRIPT;
    if (options->show != Options::Show::nothing) return show(options->show);
    const std::optional<std::string> script = read_all(options->script);
    if (!script) {
        std::string name = options->script == "-" ? "the standard input" : "\"" + options->script + "\"";
        if (errno == EFBIG) {
            std::cerr << "veltra-batch: " << name << " is larger than 64 MiB: no script is that long\n";
        } else {
            std::cerr << "veltra-batch: can not read " << name << ": " << std::strerror(errno) << '\n';
        }
        return EXIT_INVALID_SCRIPT;
    }
    if (const std::int64_t line = first_overlong_line(*script)) {
        std::cerr << "veltra-batch: line " << line << ": longer than 1 MiB: no command is that long\n";
        return EXIT_INVALID_SCRIPT;
    }
    // Paths in a script file are the script's own: taken from its folder.
    const std::filesystem::path folder = options->script == "-"
                                             ? std::filesystem::path()
                                             : std::filesystem::path(options->script).parent_path();
    return veltra::batch::run_script(*script, options->time, std::cout, std::cerr, folder);
}

}  // namespace

int main(int argc, char** argv) {
    // No exception leaves the program: memory running out is the program's
    // memory message, anything else a short reason; both stop the script.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        veltra::batch::BatchHost host(std::cout, std::cerr);
        veltra::ui::out_of_memory_box(host);
    } catch (const std::exception& error) {
        std::cerr << "veltra-batch: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "veltra-batch: an unexpected failure\n";
    }
    std::cout.flush();
    return veltra::batch::EXIT_STOPPED;
}
