#pragma once

#include <cstdint>
#include <string>

#include "core/storage.h"

namespace veltra::io {

// Fills rows x cols values of `matrix` (row by row) from the numbers of a free
// text file: a number is a maximal run of digits, points and minus signs that
// a separator follows; it converts by its longest decimal prefix. Returns
// false when the file cannot be opened (matrix untouched) or ends before the
// last row is complete (the values read so far stay stored).
[[nodiscard]] bool read_matrix_file(const std::string& path, core::Matrix& matrix, std::int32_t rows,
                                    std::int32_t cols);

}  // namespace veltra::io
