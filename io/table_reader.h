#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace veltra::io {

enum class TableDelimiter { automatic, comma, semicolon, tab, blanks };
enum class TableHeader { automatic, yes, no };
enum class MissingValues { refuse, drop };

// How a table is read. Automatic delimiter: tab, else semicolon, else comma
// (not with a decimal comma), else blanks, whichever the first line holds
// outside quotes. Automatic header: the first record is one when it has a
// field that is not a number (nor missing) above a number of the second
// record, or, in a file of one record, any such field.
struct TableOptions {
    TableDelimiter delimiter = TableDelimiter::automatic;
    TableHeader header = TableHeader::automatic;
    char decimal = '.';  // '.' or ','
    MissingValues missing = MissingValues::refuse;
    std::vector<std::string> skip;  // names of columns to leave out
    std::int32_t max_rows = 32767;
    std::int32_t max_variables = 32767;
};

enum class ColumnRole { variable, label, left_out };

struct TableColumn {
    std::string name;  // from the header, or "V1", "V2", ... by the column's place in the file
    ColumnRole role;
};

// A table as read. A column is a variable when its first value that is not
// missing is a number, a label column otherwise; the first label column gives
// the labels, the others and the skipped columns are left out.
struct Table {
    TableDelimiter delimiter = TableDelimiter::comma;  // the one used, never automatic
    bool has_header = false;
    std::vector<TableColumn> columns;  // every column of the file, in order
    std::int32_t ndata = 0;
    std::int32_t nvars = 0;
    std::vector<double> values;  // ndata x nvars, row by row
    std::vector<std::string> variable_names;
    std::string label_column;         // the name of the label column, or empty
    std::vector<std::string> labels;  // ndata labels, or empty without a label column
    std::int64_t dropped_rows = 0;    // rows with missing values left out
};

enum class TableErrorKind {
    cannot_open,
    empty,               // no record at all
    no_data,             // a header but no row, or every row dropped
    unterminated_quote,  // a quote opened at line, column is never closed
    text_after_quote,    // the closing quote is followed by more than blanks
    field_count,         // count fields where the header (or first row) has `expected`
    not_a_number,        // `found` in a variable column
    out_of_range,        // `found` is beyond the range of a double
    missing_value,       // `found` (empty, NA, NaN or ?) in a variable column
    too_many_rows,       // count datavectors, limit `expected`
    too_many_variables,  // count variables, limit `expected`
    no_variables,        // no column of numbers
    unknown_column,      // skip names `found`, which no column has
};

// Why a table was refused and where: line and column are 1-based (0 when the
// refusal has no place); column_name is the name of that column.
struct TableError {
    TableErrorKind kind;
    std::int64_t line = 0;
    std::int64_t column = 0;
    std::string column_name{};
    std::string found{};
    std::int64_t count = 0;
    std::int64_t expected = 0;
    std::int64_t dropped_rows = 0;  // no_data: rows dropped for missing values
    // not_a_number and no_variables: with a decimal comma the text would read
    // as numbers.
    bool decimal_comma = false;
};

using TableReadResult = std::variant<Table, TableError>;

// Reads a table from a file's text (with or without a UTF-8 byte order mark).
// Numbers: optional sign, digits with an optional decimal mark, optional
// exponent, correctly rounded; "inf" and "nan" are not numbers. Missing: an
// empty field, NA, NaN (any case) or "?".
TableReadResult read_table(std::string_view text, const TableOptions& options);

// The whole content of a regular file; nullopt when it cannot be read or is
// no regular file.
std::optional<std::string> read_text_file(const std::string& path);

// read_table on a file's content; cannot_open when it cannot be read.
TableReadResult read_table_file(const std::string& path, const TableOptions& options);

// The first rows of a table as text, for showing before it is read.
struct TablePreview {
    TableDelimiter delimiter = TableDelimiter::comma;
    bool has_header = false;
    std::vector<std::string> names;              // the column names of the first record
    std::vector<std::vector<std::string>> rows;  // up to max_rows data records
};

// Splits the first records as read_table would; stops early at a quote error.
TablePreview preview_table(std::string_view text, const TableOptions& options, std::size_t max_rows);

}  // namespace veltra::io
