#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace veltra::batch {

// The lines that tell how veltra-batch is called; shown with every option error.
inline constexpr std::string_view USAGE =
    "usage: veltra-batch [--time SECONDS] [SCRIPT]\n"
    "       veltra-batch --help | --version\n";

// What one line of standard output reports: its first word, its columns and
// when it is printed.
struct OutputLineHelp {
    std::string_view name;
    std::string_view columns;
    std::string_view meaning;
};

// Every kind of output line, in the order a session usually prints them.
std::span<const OutputLineHelp> output_line_help();

// The whole --help text: usage, options, every command of the command table
// with its arguments, the output lines and their columns, exit statuses and
// an example.
void write_help(std::ostream& out);

// The --version text: the program's version and what it was built from.
void write_version(std::ostream& out);

}  // namespace veltra::batch
