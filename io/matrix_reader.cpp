#include "io/matrix_reader.h"

#include "io/matrix_scanner.h"

namespace veltra::io {

ReadResult read_matrix_file(const std::string& path, core::Matrix& matrix, std::int32_t rows,
                            std::int32_t cols, core::Heap& heap) {
    return read_matrix_file_in_blocks(path, matrix, rows, cols, heap, READ_BLOCK_SIZE);
}

}  // namespace veltra::io
