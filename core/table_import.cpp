#include "core/table_import.h"

#include <algorithm>

namespace veltra::core {

TableImportReport import_table(Workspace& ws, const std::string& path, const TableImportOptions& options) {
    TableImportReport report;
    io::TableReadResult read = io::read_table_file(path, options.table);
    if (auto* error = std::get_if<io::TableError>(&read)) {
        report.status = TableImportStatus::refused;
        report.error = std::move(*error);
        return report;
    }
    io::Table& table = std::get<io::Table>(read);
    ColumnScaling scaling = scale_columns(table.values, table.ndata, table.nvars, options.scaling);

    for (const std::int32_t v : scaling.constant_columns)
        report.constant_columns.push_back(table.variable_names[static_cast<std::size_t>(v)]);
    DataAnnotations annotations{std::move(table.variable_names), table.label_column, std::move(table.labels),
                                std::move(scaling.offsets), std::move(scaling.scales)};
    if (replace_data(ws, table.values, table.ndata, table.nvars, std::move(annotations), path) !=
        StorageResult::ok) {
        report.status = TableImportStatus::out_of_memory;
        report.constant_columns.clear();
        return report;
    }

    report.ndata = table.ndata;
    report.nvars = table.nvars;
    report.label_column = table.label_column;
    report.dropped_rows = table.dropped_rows;
    for (const io::TableColumn& column : table.columns) {
        if (column.role == io::ColumnRole::left_out) report.left_out.push_back(column.name);
    }
    return report;
}

}  // namespace veltra::core
