#include "core/table_export.h"

#include <vector>

#include "core/measures.h"
#include "io/table_writers.h"

namespace veltra::core {

namespace {

using Row = std::vector<io::TableCell>;

void add_place(Row& row, const Workspace& ws, std::int32_t p) {
    row.emplace_back(std::int64_t{p} + 1);
    row.emplace_back(std::int64_t{p / ws.cols} + 1);
    row.emplace_back(std::int64_t{p % ws.cols} + 1);
}

bool write_prototypes(const Workspace& ws, const std::string& path) {
    std::vector<std::string> header = {"prototype", "row", "col"};
    for (std::int32_t v = 0; v < ws.nvars; ++v) header.push_back(variable_name(ws.annotations, v));
    std::vector<Row> rows;
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        Row& row = rows.emplace_back();
        add_place(row, ws, p);
        for (std::int32_t v = 0; v < ws.nvars; ++v)
            row.emplace_back(original_value(ws.annotations, v, ws.prototypes[p][v]));
    }
    return io::write_table_file(path, header, rows);
}

bool write_assignment(const Workspace& ws, const std::string& path) {
    const DataAnnotations& notes = ws.annotations;
    std::vector<std::string> header = {"datavector"};
    if (notes.has_labels()) header.push_back(notes.label_column.empty() ? "label" : notes.label_column);
    for (const char* name : {"winner", "row", "col", "squared_distance"}) header.emplace_back(name);
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(ws.ndata));
    for (std::int32_t i = 0; i < ws.ndata; ++i) {
        Row& row = rows.emplace_back();
        row.emplace_back(std::int64_t{i} + 1);
        if (notes.has_labels()) row.emplace_back(notes.labels[static_cast<std::size_t>(i)]);
        const std::int32_t w = ws.winners[i];
        row.emplace_back(std::int64_t{w} + 1);
        row.emplace_back(std::int64_t{w / ws.cols} + 1);
        row.emplace_back(std::int64_t{w % ws.cols} + 1);
        row.emplace_back(squared_distance(ws.data[i], ws.prototypes[w], ws.nvars));
    }
    return io::write_table_file(path, header, rows);
}

bool write_frequency(const Workspace& ws, const std::string& path) {
    std::vector<std::int64_t> wins(static_cast<std::size_t>(ws.nprotos), 0);
    for (std::int32_t i = 0; i < ws.ndata; ++i) ++wins[static_cast<std::size_t>(ws.winners[i])];
    std::vector<Row> rows;
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        Row& row = rows.emplace_back();
        add_place(row, ws, p);
        row.emplace_back(wins[static_cast<std::size_t>(p)]);
    }
    return io::write_table_file(path, {"prototype", "row", "col", "frequency"}, rows);
}

}  // namespace

bool export_table(Workspace& ws, TableKind kind, const std::string& path) {
    if (kind == TableKind::prototypes) return write_prototypes(ws, path);
    ws.kernels.assign_winners(ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, ws.winners.span());
    return kind == TableKind::assignment ? write_assignment(ws, path) : write_frequency(ws, path);
}

}  // namespace veltra::core
