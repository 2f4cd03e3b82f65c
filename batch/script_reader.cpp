#include "batch/script_reader.h"

namespace veltra::batch {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The words of one line, or the reason it has none to give.
std::variant<std::vector<std::string>, std::string> split_words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && is_blank(line[i])) ++i;
        if (i == line.size()) return words;
        std::string word;
        bool quoted = false;
        for (; i < line.size() && (quoted || !is_blank(line[i])); ++i) {
            if (line[i] == '"') {
                quoted = !quoted;
            } else if (line[i] == '\0') {
                return std::string("NUL character in the line");
            } else {
                word += line[i];
            }
        }
        if (quoted) return std::string("unterminated quote");
        words.push_back(std::move(word));
    }
}

}  // namespace

std::variant<std::vector<ScriptLine>, ScriptError> read_script(std::string_view text) {
    std::vector<ScriptLine> lines;
    std::int64_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') continue;
        auto words = split_words(line);
        if (auto* reason = std::get_if<std::string>(&words)) return ScriptError{number, std::move(*reason)};
        lines.push_back(ScriptLine{number, std::move(std::get<std::vector<std::string>>(words))});
    }
    return lines;
}

}  // namespace veltra::batch
