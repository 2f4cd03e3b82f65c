#pragma once

#include <cstdint>
#include <string>

#include "core/storage/storage.h"

namespace veltra::bench {

// The matrix reader as one character call per byte: getc, an 80-character
// token, conversion by the longest decimal prefix. The baseline that the
// block reader of io/ is measured against; same contract as read_matrix_file.
[[nodiscard]] bool read_matrix_file_by_characters(const std::string& path, core::Matrix& matrix,
                                                  std::int32_t rows, std::int32_t cols);

}  // namespace veltra::bench
