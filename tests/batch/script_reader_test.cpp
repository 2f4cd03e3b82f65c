#include "batch/script_reader.h"

#include <gtest/gtest.h>

namespace veltra::batch {
namespace {

std::vector<ScriptLine> lines_of(std::string_view text) {
    auto result = read_script(text);
    if (const auto* error = std::get_if<ScriptError>(&result)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
        return {};
    }
    return std::get<std::vector<ScriptLine>>(result);
}

TEST(ScriptReader, SplitsWordsAtBlanksAndTabsAndKeepsLineNumbers) {
    EXPECT_EQ(lines_of("map-size 2 3\n"), (std::vector<ScriptLine>{{1, {"map-size", "2", "3"}}}));
    // Comments, blank and blanks-only lines are skipped but counted; CR LF
    // line ends and a missing final line feed are fine.
    EXPECT_EQ(lines_of("# heading\r\n\n  \t \n\ttrain\t1  0 0.5\t0.1 \r\n  # indented comment\nshow-map"),
              (std::vector<ScriptLine>{{4, {"train", "1", "0", "0.5", "0.1"}}, {6, {"show-map"}}}));
    // A '#' inside a line is an ordinary character.
    EXPECT_EQ(lines_of("export-prototypes a#b.wgt\n"),
              (std::vector<ScriptLine>{{1, {"export-prototypes", "a#b.wgt"}}}));
    EXPECT_TRUE(lines_of("").empty());
    EXPECT_TRUE(lines_of("\n\n# only comments\n").empty());
}

TEST(ScriptReader, QuotesHoldBlanksAndTabs) {
    EXPECT_EQ(lines_of("import-datavectors \"my data/set 1.dat\" 10\t2\n"),
              (std::vector<ScriptLine>{{1, {"import-datavectors", "my data/set 1.dat", "10", "2"}}}));
    // An empty quoted word is a word; a quote may open within a word.
    EXPECT_EQ(lines_of("random-weights \"\" 0\n"),
              (std::vector<ScriptLine>{{1, {"random-weights", "", "0"}}}));
    EXPECT_EQ(lines_of("x a\"b\tc\"d\n"), (std::vector<ScriptLine>{{1, {"x", "ab\tcd"}}}));
    EXPECT_EQ(lines_of("\"#not a comment\"\n"), (std::vector<ScriptLine>{{1, {"#not a comment"}}}));
}

TEST(ScriptReader, ReportsTheLineOfAnUnterminatedQuoteOrANulByte) {
    EXPECT_EQ(std::get<ScriptError>(read_script("map-size 1 1\n\nexport-prototypes \"a b\n")),
              (ScriptError{3, "unterminated quote"}));
    // The quote does not run on into the next line.
    EXPECT_EQ(std::get<ScriptError>(read_script("x \"a\nb\"\n")), (ScriptError{1, "unterminated quote"}));
    EXPECT_EQ(std::get<ScriptError>(read_script(std::string_view("ok\nexport-prototypes a\0b\n", 24))),
              (ScriptError{2, "NUL character in the line"}));
}

}  // namespace
}  // namespace veltra::batch
