#include "io/table_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/storage/heap.h"
#include "io/matrix_reader.h"
#include "tests/support/temp_directory.h"

namespace veltra::io {
namespace {

Table read_ok(std::string_view text, const TableOptions& options = {}) {
    TableReadResult result = read_table(text, options);
    if (const auto* error = std::get_if<TableError>(&result)) {
        ADD_FAILURE() << "refused: kind " << static_cast<int>(error->kind) << " at line " << error->line
                      << ", column " << error->column << " for:\n"
                      << text;
        return {};
    }
    return std::get<Table>(std::move(result));
}

TableError read_error(std::string_view text, const TableOptions& options = {}) {
    TableReadResult result = read_table(text, options);
    if (!std::holds_alternative<TableError>(result)) {
        ADD_FAILURE() << "read, but should be refused:\n" << text;
        return {TableErrorKind::empty};
    }
    return std::get<TableError>(std::move(result));
}

TableOptions with(auto change) {
    TableOptions options;
    change(options);
    return options;
}

TEST(TableReader, HeaderIsDetectedFromTextAboveNumbersAndCanBeSet) {
    const Table named = read_ok("x,y\n1,2\n3,4\n");
    EXPECT_TRUE(named.has_header);
    EXPECT_EQ(named.variable_names, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(named.values, (std::vector<double>{1, 2, 3, 4}));

    const Table plain = read_ok("1,2\n3,4\n");
    EXPECT_FALSE(plain.has_header);
    EXPECT_EQ(plain.variable_names, (std::vector<std::string>{"V1", "V2"}));
    EXPECT_EQ(plain.ndata, 2);

    // Text above text is a label column, not a header.
    const Table labelled = read_ok("setosa,1\nvirginica,2\n");
    EXPECT_FALSE(labelled.has_header);
    EXPECT_EQ(labelled.label_column, "V1");
    EXPECT_EQ(labelled.labels, (std::vector<std::string>{"setosa", "virginica"}));

    // Empty header names fall back to the column's place.
    EXPECT_EQ(read_ok("a,,c\n1,2,3\n").variable_names, (std::vector<std::string>{"a", "V2", "c"}));

    const Table forced = read_ok("1,2\n3,4\n", with([](auto& o) { o.header = TableHeader::yes; }));
    EXPECT_EQ(forced.variable_names, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(forced.values, (std::vector<double>{3, 4}));
}

TEST(TableReader, EachDelimiterIsDetectedAndCanBeSet) {
    const std::vector<double> expected = {1.5, -2, 3, 4};
    for (const char* text : {"a,b\n1.5,-2\n3,4\n", "a;b\n1.5;-2\n3;4\n", "a\tb\n1.5\t-2\n3\t4\n",
                             "  a   b\n 1.5  -2 \n3\t 4\n", "a , b\n 1.5 , -2\n3 ,4 \n"}) {
        const Table table = read_ok(text);
        EXPECT_EQ(table.values, expected) << text;
        EXPECT_EQ(table.variable_names, (std::vector<std::string>{"a", "b"})) << text;
    }
    EXPECT_EQ(read_ok("a;b\n1;2\n").delimiter, TableDelimiter::semicolon);
    EXPECT_EQ(read_ok("a b\n1 2\n").delimiter, TableDelimiter::blanks);
    // Set by hand, a comma is only part of a field.
    const Table blanks = read_ok("a,b c\n1 2\n", with([](auto& o) { o.delimiter = TableDelimiter::blanks; }));
    EXPECT_EQ(blanks.variable_names, (std::vector<std::string>{"a,b", "c"}));
}

TEST(TableReader, QuotedFieldsFollowRfc4180) {
    const Table table =
        read_ok("\"a,b\",\"say \"\"hi\"\"\",name\n\"1.5\", 2 ,\"two\nlines\"\n3,4,\"\"\"q\"\"\"\n");
    EXPECT_EQ(table.variable_names, (std::vector<std::string>{"a,b", "say \"hi\""}));
    EXPECT_EQ(table.values, (std::vector<double>{1.5, 2, 3, 4}));
    EXPECT_EQ(table.labels, (std::vector<std::string>{"two\nlines", "\"q\""}));
    // Blank-separated fields may be quoted too.
    EXPECT_EQ(read_ok("\"a b\" c\n1 2\n").variable_names, (std::vector<std::string>{"a b", "c"}));
}

TEST(TableReader, ByteOrderMarkLineEndsAndBlankLines) {
    const std::vector<double> expected = {1, 2, 3, 4};
    for (const char* text : {"\xEF\xBB\xBFx,y\n1,2\n3,4\n", "x,y\r\n1,2\r\n3,4\r\n", "x,y\n1,2\n3,4",
                             "x,y\r\n1,2\r\n3,4", "\n\nx,y\n \n1,2\n\r\n\n3,4\n\n  \n"}) {
        const Table table = read_ok(text);
        EXPECT_EQ(table.values, expected) << text;
        EXPECT_EQ(table.variable_names, (std::vector<std::string>{"x", "y"})) << text;
    }
}

TEST(TableReader, NumbersInFullDecimalSyntaxCorrectlyRounded) {
    const Table table = read_ok("v\n1.5e3\n-2E-2\n+3\n.5\n5.\n0.1\n1e-310\n-0\n");
    const std::vector<double> expected = {1500, -0.02, 3, 0.5, 5, 0.1, 1e-310, -0.0};
    ASSERT_EQ(table.values.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(table.values[i]), std::bit_cast<std::uint64_t>(expected[i]));
}

TEST(TableReader, DecimalComma) {
    const auto comma = with([](auto& o) { o.decimal = ','; });
    const Table table = read_ok("a;b\n1,5;-2,25e1\n3;4\n", comma);
    EXPECT_EQ(table.values, (std::vector<double>{1.5, -22.5, 3, 4}));
    // Detection never takes the comma for the delimiter then.
    EXPECT_EQ(read_ok("a b\n1,5 2\n", comma).values, (std::vector<double>{1.5, 2}));
    const TableError point = read_error("a;b\n1;2\n1.5;3\n", comma);
    EXPECT_EQ(point.kind, TableErrorKind::not_a_number);
    EXPECT_EQ(point.line, 3);
}

TEST(TableReader, LabelColumnsAndSkippedColumns) {
    const char* text = "id,sl,species,note\n1,5.1,setosa,x\n2,4.9,setosa,y\n";
    const Table table = read_ok(text);
    EXPECT_EQ(table.variable_names, (std::vector<std::string>{"id", "sl"}));
    EXPECT_EQ(table.label_column, "species");
    EXPECT_EQ(table.columns[3].role, ColumnRole::left_out);
    const Table skipped = read_ok(text, with([](auto& o) { o.skip = {"id", "species"}; }));
    EXPECT_EQ(skipped.variable_names, (std::vector<std::string>{"sl"}));
    EXPECT_EQ(skipped.label_column, "note");
    EXPECT_EQ(skipped.labels, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(skipped.values, (std::vector<double>{5.1, 4.9}));
    // A column's first value that is not missing decides what it is.
    EXPECT_EQ(read_ok("a,b\n1,\n2,x\n", with([](auto& o) { o.missing = MissingValues::drop; })).label_column,
              "b");
}

TEST(TableReader, MissingValuesAreRefusedOrTheirRowsDropped) {
    const char* text = "x,y,name\n1,2,a\n3,,b\nNA,4,c\n5,nan,d\n?,6,e\n7,8,f\n";
    const TableError error = read_error(text);
    EXPECT_EQ(error.kind, TableErrorKind::missing_value);
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.column, 2);
    EXPECT_EQ(error.column_name, "y");
    const Table dropped = read_ok(text, with([](auto& o) { o.missing = MissingValues::drop; }));
    EXPECT_EQ(dropped.dropped_rows, 4);
    EXPECT_EQ(dropped.values, (std::vector<double>{1, 2, 7, 8}));
    EXPECT_EQ(dropped.labels, (std::vector<std::string>{"a", "f"}));
}

TEST(TableReader, RefusalsSayWhere) {
    struct Case {
        const char* text;
        TableErrorKind kind;
        std::int64_t line, column;
    };
    const Case cases[] = {
        {"x,y\n1,2\n3,4x\n", TableErrorKind::not_a_number, 3, 2},
        {"x,y\n1,2\n3,inf\n", TableErrorKind::not_a_number, 3, 2},
        {"x,y\n1,2\n3,1e999\n", TableErrorKind::out_of_range, 3, 2},
        {"x,y\n1,2\n3\n", TableErrorKind::field_count, 3, 2},
        {"x,y\n1,2\n3,4,5\n", TableErrorKind::field_count, 3, 3},
        {"x,y\n1,2\n\"3,4\n5,6\n", TableErrorKind::unterminated_quote, 3, 1},
        {"x,y\n1,\"2\"z\n", TableErrorKind::text_after_quote, 2, 2},
        {"", TableErrorKind::empty, 0, 0},
        {"\xEF\xBB\xBF \r\n\n", TableErrorKind::empty, 0, 0},
        {"x,y\n", TableErrorKind::no_data, 0, 0},
        {"a,b\nx,y\n", TableErrorKind::no_variables, 0, 0},
    };
    for (const Case& c : cases) {
        const TableError error = read_error(c.text);
        EXPECT_EQ(error.kind, c.kind) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.column, c.column) << c.text;
    }
    const auto small = with([](auto& o) {
        o.max_rows = 2;
        o.max_variables = 1;
    });
    const TableError rows = read_error("x\n1\n2\n3\n", small);
    EXPECT_EQ(rows.kind, TableErrorKind::too_many_rows);
    EXPECT_EQ(rows.count, 3);
    EXPECT_EQ(rows.expected, 2);
    EXPECT_EQ(read_error("x,y\n1,2\n", small).kind, TableErrorKind::too_many_variables);
    const TableError unknown = read_error("x\n1\n", with([](auto& o) { o.skip = {"z"}; }));
    EXPECT_EQ(unknown.kind, TableErrorKind::unknown_column);
    EXPECT_EQ(unknown.found, "z");
}

TEST(TableReader, PreviewShowsTheFirstRecordsAsSplit) {
    const TablePreview preview = preview_table("x;\"y;z\"\n1;2\n3;4\n5;6\n", {}, 2);
    EXPECT_EQ(preview.delimiter, TableDelimiter::semicolon);
    EXPECT_TRUE(preview.has_header);
    EXPECT_EQ(preview.names, (std::vector<std::string>{"x", "y;z"}));
    EXPECT_EQ(preview.rows, (std::vector<std::vector<std::string>>{{"1", "2"}, {"3", "4"}}));
}

// The same numbers through the data file reader and the table reader.
TEST(TableReader, SameBitsAsTheMatrixReader) {
    const std::string text =
        "0.1 123456.789012 -0.000001 1.7976931348623157 3\n"
        "9007199254740993 0.30000000000000004 -7.25 1234567890.0987654321 .5\n"
        "2.2250738585072014 0.000000000000000000001 -5. 42 0.7\n";
    const testing::TempDirectory dir;
    const std::string path = dir.write("numbers.dat", text);
    core::Heap heap;
    auto matrix = core::alloc_matrix(heap, 3, 5);
    ASSERT_TRUE(matrix);
    ASSERT_EQ(read_matrix_file(path, *matrix, 3, 5, heap), ReadResult::ok);
    TableReadResult result = read_table_file(path, {});
    ASSERT_TRUE(std::holds_alternative<Table>(result));
    const Table& table = std::get<Table>(result);
    ASSERT_EQ(table.values.size(), 15u);
    for (std::int32_t i = 0; i < 3; ++i) {
        for (std::int32_t j = 0; j < 5; ++j)
            EXPECT_EQ(std::bit_cast<std::uint64_t>(table.values[static_cast<std::size_t>(i * 5 + j)]),
                      std::bit_cast<std::uint64_t>((*matrix)[i][j]));
    }
}

}  // namespace
}  // namespace veltra::io
