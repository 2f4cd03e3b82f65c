#include "io/table_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

#include "io/table_scanner.h"

namespace veltra::io {

namespace {

enum class FieldKind { number, missing, text, out_of_range };

bool equals_ignoring_case(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

bool is_missing(std::string_view text) {
    return text.empty() || text == "?" || equals_ignoring_case(text, "na") ||
           equals_ignoring_case(text, "nan");
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

FieldKind convert_field(std::string_view text, char decimal, double& value) {
    if (is_missing(text)) return FieldKind::missing;
    const std::size_t sign = (text.front() == '+' || text.front() == '-') ? 1 : 0;
    // from_chars would also take "inf" and "nan", and no plus sign.
    if (text.size() == sign || !(is_digit(text[sign]) || text[sign] == decimal)) return FieldKind::text;
    if (text.front() == '+') text.remove_prefix(1);
    std::string with_point;
    if (decimal != '.') {
        if (text.find('.') != std::string_view::npos) return FieldKind::text;
        with_point.assign(text);
        std::replace(with_point.begin(), with_point.end(), decimal, '.');
        text = with_point;
    }
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (stop != end) return FieldKind::text;
    if (error == std::errc::result_out_of_range) return FieldKind::out_of_range;
    return error == std::errc{} ? FieldKind::number : FieldKind::text;
}

bool is_number(std::string_view text, char decimal) {
    double value;
    return convert_field(text, decimal, value) == FieldKind::number;
}

char delimiter_character(TableDelimiter delimiter) {
    switch (delimiter) {
        case TableDelimiter::comma:
            return ',';
        case TableDelimiter::semicolon:
            return ';';
        case TableDelimiter::tab:
            return '\t';
        case TableDelimiter::automatic:
        case TableDelimiter::blanks:
            break;
    }
    return ' ';
}

TableDelimiter detect_delimiter(std::string_view text, char decimal) {
    std::size_t tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    bool seen = false;  // a character other than blanks on this line
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') {
            if (seen) break;
            continue;
        }
        if (c != ' ' && c != '\t' && c != '\r') seen = true;
        tabs += c == '\t';
        semicolons += c == ';';
        commas += c == ',';
    }
    if (tabs > 0) return TableDelimiter::tab;
    if (semicolons > 0) return TableDelimiter::semicolon;
    if (commas > 0 && decimal != ',') return TableDelimiter::comma;
    return TableDelimiter::blanks;
}

std::vector<std::string> copy_texts(const std::vector<TableField>& fields) {
    std::vector<std::string> texts;
    texts.reserve(fields.size());
    for (const TableField& field : fields) texts.emplace_back(field.text);
    return texts;
}

std::string default_name(std::size_t column) {
    std::string name = "V";
    name += std::to_string(column + 1);
    return name;
}

std::vector<std::string> column_names(const std::vector<std::string>& first, bool has_header) {
    std::vector<std::string> names;
    for (std::size_t c = 0; c < first.size(); ++c)
        names.push_back(has_header && !first[c].empty() ? first[c] : default_name(c));
    return names;
}

// The start of a read: the delimiter, the first record and whether it is a
// header, decided from the first two records.
struct Opening {
    TableDelimiter delimiter;
    char delimiter_char;
    std::string_view body;  // the text without byte order mark
    std::vector<std::string> first;
    std::int64_t first_line = 0;
    bool has_header = false;
};

std::variant<Opening, TableError> open_table(std::string_view text, const TableOptions& options) {
    Opening opening;
    opening.body = without_byte_order_mark(text);
    opening.delimiter = options.delimiter == TableDelimiter::automatic
                            ? detect_delimiter(opening.body, options.decimal)
                            : options.delimiter;
    opening.delimiter_char = delimiter_character(opening.delimiter);
    TableScanner scanner(opening.body, opening.delimiter_char);
    std::vector<TableField> fields;
    const auto quote_error = [&](ScanStatus status) {
        return TableError{status == ScanStatus::unterminated_quote ? TableErrorKind::unterminated_quote
                                                                   : TableErrorKind::text_after_quote,
                          scanner.error_line(), scanner.error_column()};
    };
    ScanStatus status = scanner.next(fields);
    if (status == ScanStatus::end) return TableError{TableErrorKind::empty};
    if (status != ScanStatus::record) return quote_error(status);
    opening.first = copy_texts(fields);
    opening.first_line = scanner.record_line();
    if (options.header != TableHeader::automatic) {
        opening.has_header = options.header == TableHeader::yes;
        return opening;
    }
    status = scanner.next(fields);
    if (status == ScanStatus::unterminated_quote || status == ScanStatus::text_after_quote)
        return quote_error(status);
    for (std::size_t c = 0; c < opening.first.size(); ++c) {
        const std::string& field = opening.first[c];
        if (is_missing(field) || is_number(field, options.decimal)) continue;
        if (status == ScanStatus::end || (c < fields.size() && is_number(fields[c].text, options.decimal))) {
            opening.has_header = true;
            break;
        }
    }
    return opening;
}

// Reads the records after the header, one at a time.
class Records {
public:
    Records(const Opening& opening) : scanner_(opening.body, opening.delimiter_char) {
        if (opening.has_header) scanner_.next(fields_);
    }
    // The next record, nullptr at the end; sets `error` on a quote error.
    const std::vector<TableField>* next(std::optional<TableError>& error) {
        const ScanStatus status = scanner_.next(fields_);
        if (status == ScanStatus::record) return &fields_;
        if (status != ScanStatus::end) {
            error = TableError{status == ScanStatus::unterminated_quote ? TableErrorKind::unterminated_quote
                                                                        : TableErrorKind::text_after_quote,
                               scanner_.error_line(), scanner_.error_column()};
        }
        return nullptr;
    }
    std::int64_t line() const noexcept { return scanner_.record_line(); }

private:
    TableScanner scanner_;
    std::vector<TableField> fields_;
};

TableError field_count_error(std::int64_t line, std::size_t count, std::size_t expected) {
    TableError error{TableErrorKind::field_count, line,
                     static_cast<std::int64_t>(std::min(count, expected)) + 1};
    error.count = static_cast<std::int64_t>(count);
    error.expected = static_cast<std::int64_t>(expected);
    return error;
}

TableError field_error(TableErrorKind kind, const TableField& field, std::size_t column, const Table& table,
                       const TableOptions& options) {
    TableError error{kind, field.line, static_cast<std::int64_t>(column) + 1, table.columns[column].name,
                     std::string(field.text)};
    error.decimal_comma = kind == TableErrorKind::not_a_number && options.decimal == '.' &&
                          table.delimiter != TableDelimiter::comma && is_number(field.text, ',');
    return error;
}

// Gives every column its role: left out when skipped, otherwise by its first
// value that is not missing (a column missing everywhere counts as a variable).
std::optional<TableError> assign_roles(const Opening& opening, const TableOptions& options, Table& table) {
    const std::size_t ncols = opening.first.size();
    std::vector<bool> decided(ncols, false);
    for (std::size_t c = 0; c < ncols; ++c) {
        const bool skipped =
            std::find(options.skip.begin(), options.skip.end(), table.columns[c].name) != options.skip.end();
        table.columns[c].role = skipped ? ColumnRole::left_out : ColumnRole::variable;
        decided[c] = skipped;
    }
    for (const std::string& name : options.skip) {
        if (std::none_of(table.columns.begin(), table.columns.end(),
                         [&](const TableColumn& column) { return column.name == name; })) {
            TableError error{TableErrorKind::unknown_column};
            error.found = name;
            return error;
        }
    }
    Records records(opening);
    std::optional<TableError> error;
    std::size_t undecided = std::count(decided.begin(), decided.end(), false);
    while (undecided > 0) {
        const std::vector<TableField>* fields = records.next(error);
        if (fields == nullptr) break;
        if (fields->size() != ncols) return field_count_error(records.line(), fields->size(), ncols);
        for (std::size_t c = 0; c < ncols; ++c) {
            if (decided[c] || is_missing((*fields)[c].text)) continue;
            decided[c] = true;
            --undecided;
            if (!is_number((*fields)[c].text, options.decimal)) table.columns[c].role = ColumnRole::label;
        }
    }
    if (error) return error;
    bool label_taken = false;
    for (TableColumn& column : table.columns) {
        if (column.role == ColumnRole::label) {
            if (label_taken) {
                column.role = ColumnRole::left_out;
            } else {
                label_taken = true;
                table.label_column = column.name;
            }
        }
        if (column.role == ColumnRole::variable) {
            table.variable_names.push_back(column.name);
        }
    }
    return std::nullopt;
}

std::optional<TableError> read_rows(const Opening& opening, const TableOptions& options, Table& table) {
    const std::size_t ncols = table.columns.size();
    const auto nvars = static_cast<std::size_t>(table.nvars);
    const bool labelled = !table.label_column.empty();
    Records records(opening);
    std::optional<TableError> error;
    std::int64_t kept = 0;
    // About one value per eight bytes of text.
    table.values.reserve(std::min<std::size_t>(opening.body.size() / 8 + 16,
                                               nvars * static_cast<std::size_t>(options.max_rows)));
    while (const std::vector<TableField>* fields = records.next(error)) {
        if (fields->size() != ncols) return field_count_error(records.line(), fields->size(), ncols);
        const std::size_t row_start = table.values.size();
        const bool stored = kept < options.max_rows;
        bool dropped = false;
        for (std::size_t c = 0; c < ncols; ++c) {
            const TableField& field = (*fields)[c];
            if (table.columns[c].role == ColumnRole::label) {
                if (stored) table.labels.emplace_back(field.text);
                continue;
            }
            if (table.columns[c].role != ColumnRole::variable) continue;
            double value;
            switch (convert_field(field.text, options.decimal, value)) {
                case FieldKind::number:
                    if (stored) table.values.push_back(value);
                    break;
                case FieldKind::missing:
                    if (options.missing == MissingValues::refuse)
                        return field_error(TableErrorKind::missing_value, field, c, table, options);
                    dropped = true;
                    break;
                case FieldKind::text:
                    return field_error(TableErrorKind::not_a_number, field, c, table, options);
                case FieldKind::out_of_range:
                    return field_error(TableErrorKind::out_of_range, field, c, table, options);
            }
        }
        if (dropped) {
            ++table.dropped_rows;
            if (stored) {
                table.values.resize(row_start);
                if (labelled) table.labels.pop_back();
            }
        } else {
            ++kept;
        }
    }
    if (error) return error;
    if (kept > options.max_rows) {
        TableError too_many{TableErrorKind::too_many_rows};
        too_many.count = kept;
        too_many.expected = options.max_rows;
        return too_many;
    }
    if (kept == 0) {
        TableError none{TableErrorKind::no_data};
        none.dropped_rows = table.dropped_rows;
        return none;
    }
    table.ndata = static_cast<std::int32_t>(kept);
    return std::nullopt;
}

}  // namespace

TableReadResult read_table(std::string_view text, const TableOptions& options) {
    auto opened = open_table(text, options);
    if (auto* error = std::get_if<TableError>(&opened)) return std::move(*error);
    const Opening& opening = std::get<Opening>(opened);

    Table table;
    table.delimiter = opening.delimiter;
    table.has_header = opening.has_header;
    for (std::string& name : column_names(opening.first, opening.has_header))
        table.columns.push_back({std::move(name), ColumnRole::variable});
    if (auto error = assign_roles(opening, options, table)) return std::move(*error);
    const auto nvars = static_cast<std::int64_t>(table.variable_names.size());
    if (nvars == 0) {
        TableError error{TableErrorKind::no_variables};
        if (options.decimal == '.' && table.delimiter != TableDelimiter::comma) {
            TableOptions comma = options;
            comma.decimal = ',';
            comma.delimiter = table.delimiter;
            error.decimal_comma = std::holds_alternative<Table>(read_table(text, comma));
        }
        return error;
    }
    if (nvars > options.max_variables) {
        TableError error{TableErrorKind::too_many_variables};
        error.count = nvars;
        error.expected = options.max_variables;
        return error;
    }
    table.nvars = static_cast<std::int32_t>(nvars);
    if (auto error = read_rows(opening, options, table)) return std::move(*error);
    return table;
}

std::optional<std::string> read_text_file(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    struct stat status;
    if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    std::string text;
    char block[1 << 16];
    text.reserve(static_cast<std::size_t>(status.st_size));
    for (;;) {
        const std::size_t size = std::fread(block, 1, sizeof block, file.get());
        text.append(block, size);
        if (size < sizeof block) break;
    }
    if (std::ferror(file.get())) return std::nullopt;
    return text;
}

TableReadResult read_table_file(const std::string& path, const TableOptions& options) {
    const std::optional<std::string> text = read_text_file(path);
    if (!text) return TableError{TableErrorKind::cannot_open};
    return read_table(*text, options);
}

TablePreview preview_table(std::string_view text, const TableOptions& options, std::size_t max_rows) {
    TablePreview preview;
    auto opened = open_table(text, options);
    const auto* opening = std::get_if<Opening>(&opened);
    if (opening == nullptr) return preview;
    preview.delimiter = opening->delimiter;
    preview.has_header = opening->has_header;
    preview.names = column_names(opening->first, opening->has_header);
    Records records(*opening);
    std::optional<TableError> error;
    while (preview.rows.size() < max_rows) {
        const std::vector<TableField>* fields = records.next(error);
        if (fields == nullptr) break;
        preview.rows.push_back(copy_texts(*fields));
    }
    return preview;
}

}  // namespace veltra::io
