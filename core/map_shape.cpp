#include "core/map_shape.h"

#include <algorithm>
#include <cstdlib>

namespace veltra::core {

MapShapeResult set_map_shape(Workspace& ws, std::int32_t rows, std::int32_t cols) {
    // A product of two negative entries can look valid; the grid needs both >= 1.
    if (rows < 1 || cols < 1) return MapShapeResult::invalid_shape;
    const std::int64_t nprotos = std::int64_t{rows} * cols;
    if (nprotos > MAX_PROTOTYPES) return MapShapeResult::invalid_shape;
    ws.rows = rows;
    ws.cols = cols;
    ws.nprotos = static_cast<std::int32_t>(nprotos);
    if (allocate_map_storage(ws) != StorageResult::ok) return MapShapeResult::out_of_memory;
    build_incidence_matrix(ws.incidence, rows, cols);
    return MapShapeResult::ok;
}

void build_incidence_matrix(IncidenceMatrix& incidence, std::int32_t rows, std::int32_t cols) {
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < cols; ++j) {
            for (std::int32_t l = 0; l < rows; ++l) {
                for (std::int32_t m = 0; m < cols; ++m) {
                    incidence[i * cols + j][l * cols + m] =
                        static_cast<std::int8_t>(std::max(std::abs(i - l), std::abs(j - m)));
                }
            }
        }
    }
}

}  // namespace veltra::core
