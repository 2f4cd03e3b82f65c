#include "io/matrix_reader.h"

#include "io/matrix_scanner.h"

namespace veltra::io {

bool read_matrix_file(const std::string& path, core::Matrix& matrix, std::int32_t rows, std::int32_t cols) {
    return read_matrix_file_in_blocks(path, matrix, rows, cols, READ_BLOCK_SIZE);
}

}  // namespace veltra::io
