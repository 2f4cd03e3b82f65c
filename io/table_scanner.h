#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace veltra::io {

// One field of a table record: its text without the surrounding blanks and
// quotes (a doubled quote inside quotes stands for one), and the 1-based line
// on which it starts.
struct TableField {
    std::string_view text;
    std::int64_t line;
    bool quoted;
};

enum class ScanStatus { record, end, unterminated_quote, text_after_quote };

// Splits a text into records of fields: a record ends at a line break outside
// quotes (LF or CR LF), fields are separated by `delimiter`, or by runs of
// blanks and tabs when `delimiter` is ' '. Quoted fields follow RFC 4180 and
// may hold delimiters and line breaks. Lines of nothing but blanks are
// skipped. The text must not start with a byte order mark.
class TableScanner {
public:
    TableScanner(std::string_view text, char delimiter) noexcept;

    // Reads the next record into `fields` (their texts stay valid until the
    // next call). On a quote error, error_line() and error_column() say where
    // the faulty field starts.
    ScanStatus next(std::vector<TableField>& fields);

    // The line on which the last record read starts.
    std::int64_t record_line() const noexcept { return record_line_; }
    std::int64_t error_line() const noexcept { return error_line_; }
    std::int64_t error_column() const noexcept { return error_column_; }

private:
    bool is_blank(char c) const noexcept { return c == ' ' || (c == '\t' && delimiter_ != '\t'); }
    void skip_blanks() noexcept;
    bool skip_blank_lines() noexcept;
    ScanStatus quoted_field(std::vector<TableField>& fields);
    void unquoted_field(std::vector<TableField>& fields) noexcept;

    const char* p_;
    const char* end_;
    char delimiter_;
    bool stops_[256] = {};
    std::int64_t line_ = 1;
    std::int64_t record_line_ = 0;
    std::int64_t error_line_ = 0;
    std::int64_t error_column_ = 0;
    // The texts of quoted fields with doubled quotes, for the current record.
    std::deque<std::string> unescaped_;
};

// The text without a UTF-8 byte order mark at its start.
std::string_view without_byte_order_mark(std::string_view text) noexcept;

}  // namespace veltra::io
