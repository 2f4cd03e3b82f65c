#include "batch/usage.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "batch/build_info.h"
#include "batch/command_table.h"

namespace veltra::batch {

namespace {

constexpr std::array<OutputLineHelp, 11> OUTPUT_LINES{{
    {"message", "CAPTION TEXT", "an information box, such as \"SOM training done.\""},
    {"incidence", "LINE", "a line of the incidence matrix (show-map)"},
    {"trial", "N HETEROGENEITY", "pick trial N adopted, the best so far"},
    {"fixpoint", "HETEROGENEITY", "a step of converge"},
    {"pairwise", "TOTAL SUCCESSFUL SIMPLICITY", "swaps tried and kept so far, after each CHANGES"},
    {"epoch", "EPOCHS ITERATIONS HETEROGENEITY SIMPLICITY COMBINED VIOLATIONS INACTIVE",
     "a training epoch, columns below"},
    {"sammon", "STRESS", "Sammon's stress of the projection (smaller is better)"},
    {"point", "P X Y", "where prototype P lies in the projection"},
    {"hits", "P COUNT", "how many datavectors prototype P wins (hits)"},
    {"umatrix", "P VALUE", "mean distance of P to its map neighbours (umatrix)"},
    {"label", "P NAME SHARE", "P's most frequent label, its share 0 to 1 (labels)"},
}};

// Two columns: each left text padded to the widest one that fits, longer
// ones put their right text on a line of its own.
void write_columns(std::ostream& out, const std::vector<std::pair<std::string, std::string_view>>& rows) {
    constexpr std::size_t FITS = 40;
    std::size_t width = 0;
    for (const auto& [left, right] : rows) {
        if (left.size() <= FITS) width = std::max(width, left.size());
    }
    for (const auto& [left, right] : rows) {
        out << "  " << left;
        if (left.size() > FITS) {
            out << '\n' << std::string(2 + width, ' ');
        } else {
            out << std::string(width - left.size(), ' ');
        }
        out << "  " << right << '\n';
    }
}

std::string joined(std::string_view first, std::string_view rest) {
    std::string text(first);
    if (!rest.empty()) {
        text += ' ';
        text += rest;
    }
    return text;
}

}  // namespace

std::span<const OutputLineHelp> output_line_help() { return OUTPUT_LINES; }

void write_help(std::ostream& out) {
    out << USAGE
        << "\nRuns a session script on the Self-Organizing Map workspace: one command a line,\n"
           "each run as its menu command in the desktop program, with the same checks and\n"
           "messages. SCRIPT is a file, or the standard input when it is absent or \"-\".\n"
           "Relative paths in a script file are taken from the script's folder (from the\n"
           "current folder when the script comes from the standard input); output folders\n"
           "must exist.\n"
           "\nOptions:\n";
    write_columns(out, {{"--time SECONDS", "the clock time every random start sees, to repeat a run"},
                        {"-h, --help", "show this help"},
                        {"--version", "show the program's version and build"}});

    out << "\nCommands (blank lines and lines starting with # are skipped; a word in double\n"
           "quotes may hold blanks):\n";
    std::vector<std::pair<std::string, std::string_view>> commands;
    for (const CommandHelp& command : command_help()) {
        commands.emplace_back(joined(command.name, command.arguments), command.description);
    }
    write_columns(out, commands);

    out << "\nOutput lines (standard output, one per event, fields separated by tabs, reals\n"
           "printed with %.17g):\n";
    std::vector<std::pair<std::string, std::string_view>> lines;
    for (const OutputLineHelp& line : OUTPUT_LINES)
        lines.emplace_back(joined(line.name, line.columns), line.meaning);
    write_columns(out, lines);

    out << "\nColumns of an epoch line:\n";
    write_columns(out, {{"EPOCHS ITERATIONS", "epochs and presentations so far, over all stages"},
                        {"HETEROGENEITY", "mean squared distance of a datavector to its winner"},
                        {"SIMPLICITY", "mean squared distance of neighbouring prototypes"},
                        {"COMBINED", "HETEROGENEITY + SIMPLICITY"},
                        {"VIOLATIONS", "percentage of comparisons where data contradict the map (0 to 50)"},
                        {"INACTIVE", "prototypes that won nothing in the epoch, joined by commas"}});
    out << "Smaller is better in every measure; an empty INACTIVE is what you want.\n"
           "Prototypes are numbered from 1, row by row on the map.\n"
           "\nExit status: 0 when every line ran; 1 when a line stopped the script (its message\n"
           "goes to the standard error); 2 when the script cannot be read or holds a line that\n"
           "is no valid command (then nothing runs).\n"
           "\nExample:\n"
           "  veltra-batch --time 1000000000 data/example_session.veltra\n"
           "\nThe manual page veltra-batch(1) tells more.\n";
}

void write_version(std::ostream& out) {
    out << "veltra-batch " << VELTRA_VERSION << '\n'
        << "built from " << VELTRA_SOURCE_REVISION << ", " << VELTRA_BUILD_TYPE << ", " << VELTRA_COMPILER
        << '\n';
}

}  // namespace veltra::batch
