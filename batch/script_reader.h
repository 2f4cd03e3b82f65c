#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace veltra::batch {

// One line of a script that holds a command: its words, the first being the
// command's name, with quotes removed.
struct ScriptLine {
    std::int64_t number;  // 1-based line number in the script
    std::vector<std::string> words;
    friend bool operator==(const ScriptLine&, const ScriptLine&) = default;
};

// Why a script cannot be read.
struct ScriptError {
    std::int64_t line;  // 1-based
    std::string message;
    friend bool operator==(const ScriptError&, const ScriptError&) = default;
};

// Splits a script into its command lines. Lines end at a line feed (a
// carriage return before it is dropped); blank lines and lines whose first
// non-blank character is '#' are skipped. Words are separated by blanks or
// tabs; a word in double quotes may hold blanks and tabs, and a quote may
// also open or close in the middle of a word ("a b"c is the word a bc). An
// unterminated quote or a NUL byte is an error naming its line. Checks the
// syntax only: whether the words form a known command is for the caller.
std::variant<std::vector<ScriptLine>, ScriptError> read_script(std::string_view text);

}  // namespace veltra::batch
