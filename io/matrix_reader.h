#pragma once

#include <cstdint>
#include <string>

#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::io {

enum class ReadResult { ok, out_of_memory, read_error };

// Fills rows x cols values of `matrix` (row by row) from the numbers of a free
// text file: a number is a maximal run of digits, points and minus signs that
// a separator follows; it converts by its longest decimal prefix. The read
// block comes from `heap`. Returns read_error when the file cannot be opened
// or is no regular file or pipe (matrix untouched: devices and directories
// are refused before any reading, a FIFO without a writer at once), or when
// it ends before the last row is complete or holds a run of more than 80
// number characters (the values read so far stay stored); out_of_memory when
// the block cannot be had (matrix untouched).
[[nodiscard]] ReadResult read_matrix_file(const std::string& path, core::Matrix& matrix, std::int32_t rows,
                                          std::int32_t cols, core::Heap& heap);

}  // namespace veltra::io
