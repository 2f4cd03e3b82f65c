#include "ui/table_messages.h"

#include <initializer_list>
#include <string_view>

namespace veltra::ui {

namespace {

constexpr const char* DECIMAL_COMMA_HINT = " With a decimal comma, choose the decimal mark \",\".";

std::string place(const io::TableError& error) {
    std::string text = "Line ";
    text += std::to_string(error.line);
    text += ", column ";
    text += std::to_string(error.column);
    if (!error.column_name.empty()) {
        text += " (";
        text += error.column_name;
        text += ")";
    }
    text += ": ";
    return text;
}

// The parts one after the other (`"literal" + std::string` makes GCC 12 warn
// falsely).
std::string concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text += part;
    return text;
}

std::string quoted(const std::string& text) {
    std::string result = "\"";
    result += text;
    result += "\"";
    return result;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) text += ", ";
        text += name;
    }
    return text;
}

std::string rows(std::int64_t count) {
    std::string text = std::to_string(count);
    text += count == 1 ? " row" : " rows";
    return text;
}

}  // namespace

std::string table_error_message(const io::TableError& error) {
    using io::TableErrorKind;
    std::string text;
    switch (error.kind) {
        case TableErrorKind::cannot_open:
            return "Can not open the table file!";
        case TableErrorKind::empty:
            return "The file is empty.";
        case TableErrorKind::no_data:
            if (error.dropped_rows > 0) {
                text = "No datavectors are left: every row (";
                text += std::to_string(error.dropped_rows);
                text += ") has a missing value.";
                return text;
            }
            return "The file has a header but no datavectors.";
        case TableErrorKind::unterminated_quote:
            return place(error) + "the quote opened here is never closed.";
        case TableErrorKind::text_after_quote:
            return place(error) + "text follows the closing quote.";
        case TableErrorKind::field_count:
            text = place(error);
            text += "the row has ";
            text += std::to_string(error.count);
            text += error.count == 1 ? " field" : " fields";
            text += " where the first row has ";
            text += std::to_string(error.expected);
            text += ".";
            return text;
        case TableErrorKind::not_a_number:
            text = place(error) + quoted(error.found) + " is not a number.";
            if (error.decimal_comma) text += DECIMAL_COMMA_HINT;
            return text;
        case TableErrorKind::out_of_range:
            return place(error) + quoted(error.found) + " is beyond the range of numbers.";
        case TableErrorKind::missing_value:
            text = place(error);
            text += "missing value (";
            text += error.found.empty() ? "empty cell" : quoted(error.found);
            text += "); choose to drop such rows or fill them in.";
            return text;
        case TableErrorKind::too_many_rows:
            text = "The file has ";
            text += std::to_string(error.count);
            text += " datavectors; the limit is ";
            text += std::to_string(error.expected);
            text += ".";
            return text;
        case TableErrorKind::too_many_variables:
            text = "The file has ";
            text += std::to_string(error.count);
            text += " variables; the limit is ";
            text += std::to_string(error.expected);
            text += ".";
            return text;
        case TableErrorKind::no_variables:
            text = "The file has no column of numbers.";
            if (error.decimal_comma) text += DECIMAL_COMMA_HINT;
            return text;
        case TableErrorKind::unknown_column:
            return concat({"No column is named ", quoted(error.found), "."});
    }
    return text;
}

std::string table_import_message(const core::TableImportReport& report) {
    std::string text = std::to_string(report.ndata);
    text += report.ndata == 1 ? " datavector, " : " datavectors, ";
    text += std::to_string(report.nvars);
    text += report.nvars == 1 ? " variable read" : " variables read";
    std::vector<std::string> notes;
    if (!report.label_column.empty()) notes.push_back(concat({"label column: ", report.label_column}));
    if (!report.left_out.empty()) notes.push_back(concat({"left out: ", joined(report.left_out)}));
    if (report.dropped_rows > 0)
        notes.push_back(concat({rows(report.dropped_rows), " with missing values dropped"}));
    if (!report.constant_columns.empty())
        notes.push_back(concat({"constant, only centred: ", joined(report.constant_columns)}));
    if (!notes.empty()) {
        text += " (";
        for (std::size_t i = 0; i < notes.size(); ++i) {
            if (i > 0) text += "; ";
            text += notes[i];
        }
        text += ")";
    }
    text += ".";
    return text;
}

std::string delimiter_name(io::TableDelimiter delimiter) {
    switch (delimiter) {
        case io::TableDelimiter::comma:
            return "comma";
        case io::TableDelimiter::semicolon:
            return "semicolon";
        case io::TableDelimiter::tab:
            return "tab";
        case io::TableDelimiter::automatic:
            return "auto";
        case io::TableDelimiter::blanks:
            break;
    }
    return "blanks";
}

}  // namespace veltra::ui
