#pragma once

#include <string>

#include "core/workspace.h"

namespace veltra::core {

enum class TableKind { prototypes, assignment, frequency };

// Writes one of the tables as CSV with a header of names (io/table_writers.h):
// prototypes: prototype, row, col (1-based map place) and every variable in
// the units of the file the data came from; assignment: datavector, its label
// when the data has labels, winner, row, col and squared_distance; frequency:
// prototype, row, col and the number of datavectors it wins. Assignment and
// frequency first assign the winners of all datavectors (ws.winners). False
// when the file cannot be written.
[[nodiscard]] bool export_table(Workspace& ws, TableKind kind, const std::string& path);

}  // namespace veltra::core
