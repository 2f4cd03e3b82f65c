// Feeds arbitrary bytes to the table reader under settings chosen by the
// first byte, checks the shape of what it reads, and writes the variables
// back as a CSV table that must read again to the same bits.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "io/table_reader.h"
#include "io/table_writers.h"

namespace {

using veltra::io::ColumnRole;
using veltra::io::Table;
using veltra::io::TableCell;
using veltra::io::TableDelimiter;
using veltra::io::TableError;
using veltra::io::TableOptions;

void require(bool condition) {
    if (!condition) std::abort();
}

TableOptions options_from(std::uint8_t choice) {
    TableOptions options;
    options.delimiter = static_cast<TableDelimiter>(choice % 5);
    options.header = static_cast<veltra::io::TableHeader>(choice / 5 % 3);
    options.decimal = choice & 0x20 ? ',' : '.';
    options.missing = choice & 0x40 ? veltra::io::MissingValues::drop : veltra::io::MissingValues::refuse;
    if (choice & 0x80) {
        options.max_rows = 3;
        options.max_variables = 2;
    }
    return options;
}

void check_shape(const Table& table, const TableOptions& options) {
    require(table.ndata >= 1 && table.ndata <= options.max_rows);
    require(table.nvars >= 1 && table.nvars <= options.max_variables);
    require(table.values.size() ==
            static_cast<std::size_t>(table.ndata) * static_cast<std::size_t>(table.nvars));
    require(table.variable_names.size() == static_cast<std::size_t>(table.nvars));
    require(table.labels.empty() == table.label_column.empty());
    require(table.labels.empty() || table.labels.size() == static_cast<std::size_t>(table.ndata));
    std::size_t variables = 0;
    for (const auto& column : table.columns) variables += column.role == ColumnRole::variable;
    require(variables == static_cast<std::size_t>(table.nvars));
    for (const double value : table.values) require(std::isfinite(value));
}

// A real file: the writers write beside their target and rename.
const std::string& scratch_file() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("table_reader_fuzzer_" + std::to_string(getpid()) + ".csv"))
                                        .string();
    return path;
}

// The variables written as a table and read again: the same bits.
void check_round_trip(const Table& table) {
    const std::string& path = scratch_file();
    std::vector<std::string> header;
    for (std::int32_t v = 0; v < table.nvars; ++v) header.push_back("v" + std::to_string(v + 1));
    std::vector<std::vector<TableCell>> rows(static_cast<std::size_t>(table.ndata));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t v = 0; v < static_cast<std::size_t>(table.nvars); ++v)
            rows[i].emplace_back(table.values[i * static_cast<std::size_t>(table.nvars) + v]);
    }
    require(veltra::io::write_table_file(path, header, rows));
    const auto again = veltra::io::read_table_file(path, {});
    const auto* read = std::get_if<Table>(&again);
    require(read != nullptr && read->ndata == table.ndata && read->nvars == table.nvars);
    require(std::memcmp(read->values.data(), table.values.data(), table.values.size() * sizeof(double)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const TableOptions options = options_from(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    veltra::io::preview_table(text, options, 4);
    const auto result = veltra::io::read_table(text, options);
    if (const auto* error = std::get_if<TableError>(&result)) {
        require(error->line >= 0 && error->column >= 0);
        return 0;
    }
    const Table& table = std::get<Table>(result);
    check_shape(table, options);
    check_round_trip(table);
    return 0;
}
