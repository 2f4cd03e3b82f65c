#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/column_scaling.h"
#include "core/workspace.h"
#include "io/table_reader.h"

namespace veltra::core {

struct TableImportOptions {
    io::TableOptions table;
    Scaling scaling = Scaling::none;
};

enum class TableImportStatus { ok, refused, out_of_memory };

// What a table import did, for its message.
struct TableImportReport {
    TableImportStatus status = TableImportStatus::ok;
    io::TableError error{io::TableErrorKind::empty};  // why, when refused
    std::int32_t ndata = 0;
    std::int32_t nvars = 0;
    std::string label_column;                   // empty without labels
    std::vector<std::string> left_out;          // columns not read, in file order
    std::int64_t dropped_rows = 0;              // rows with missing values left out
    std::vector<std::string> constant_columns;  // variables that were only centred
};

// Reads a table file and, only when that succeeds, replaces the data matrix,
// ndata, nvars, the annotations (names, labels, scaling) and the data file
// name; the values are stored scaled. A refusal or a lack of memory leaves
// the workspace exactly as it was. The caller raises the availability events.
[[nodiscard]] TableImportReport import_table(Workspace& ws, const std::string& path,
                                             const TableImportOptions& options);

}  // namespace veltra::core
