#pragma once

#include <cstdint>

#include "core/workspace.h"

namespace veltra::core {

enum class MapShapeResult { ok, invalid_shape, out_of_memory };

// Sets a map of rows x cols prototypes: stores the shape, re-creates the
// per-map storage and builds the incidence matrix. A pair with an entry below
// 1 or a product above MAX_PROTOTYPES is an invalid shape and changes nothing.
[[nodiscard]] MapShapeResult set_map_shape(Workspace& ws, std::int32_t rows, std::int32_t cols);

// Writes the chessboard grid distance into [p][q] for all p, q < rows * cols.
// Expects rows >= 1, cols >= 1, rows * cols <= MAX_PROTOTYPES.
void build_incidence_matrix(IncidenceMatrix& incidence, std::int32_t rows, std::int32_t cols);

}  // namespace veltra::core
