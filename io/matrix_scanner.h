#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/storage/heap.h"
#include "core/storage/storage.h"
#include "io/matrix_reader.h"

namespace veltra::io {

// The token buffer of the reader: a longer run of number characters makes the
// read fail, so that no value is read wrong without a failure.
inline constexpr std::size_t MAX_TOKEN_LENGTH = 80;

// The block size with which read_matrix_file reads its file.
inline constexpr std::size_t READ_BLOCK_SIZE = std::size_t{1} << 20;

// The value of a token (a run of digits, points and minus signs of at most
// MAX_TOKEN_LENGTH characters): its longest prefix of the form optional minus,
// digits with at most one point, at least one digit, correctly rounded as
// strtod would; 0.0 when no such prefix exists.
[[nodiscard]] double convert_token(const char* token, std::size_t length) noexcept;

// The token scanning of the matrix reader on a text presented in consecutive
// blocks of any size (a token may span blocks). Stores the values row by row
// into rows x cols elements of the matrix; a token counts only once a
// separator follows it, so a token still open when the text ends is dropped.
// A run of more than MAX_TOKEN_LENGTH number characters ends the scan as a
// failure; the values stored before it stay. Expects rows >= 0, cols >= 1 and a matrix of at least rows x
// cols elements.
class MatrixScanner {
public:
    MatrixScanner(core::Matrix& matrix, std::int32_t rows, std::int32_t cols) noexcept;

    // Scans the next block. Returns true as soon as the scan is over: the last
    // row complete or a run too long. The rest of the block and of the text
    // is then not examined, and further blocks are ignored.
    bool feed(const char* block, std::size_t size) noexcept;

    // Whether every row is complete (never after a run too long).
    bool complete() const noexcept { return !too_long_ && row_ >= rows_; }
    bool over() const noexcept { return too_long_ || row_ >= rows_; }

private:
    // False (and the scan over) when the token grows beyond MAX_TOKEN_LENGTH.
    bool append_to_token(const char* run, std::size_t length) noexcept;
    void store(const char* token, std::size_t length) noexcept;

    core::Matrix& matrix_;
    std::int32_t rows_;
    std::int32_t cols_;
    std::int32_t row_ = 0;
    std::int32_t col_ = 0;
    // The start of a run that the previous block ended in; its first
    // characters, up to MAX_TOKEN_LENGTH.
    bool run_open_ = false;
    bool too_long_ = false;
    std::size_t token_length_ = 0;
    char token_[MAX_TOKEN_LENGTH];
};

// read_matrix_file with the file read in blocks of block_size bytes (at least
// 1), the block taken from `heap`; tests use small blocks to make tokens span
// block boundaries.
[[nodiscard]] ReadResult read_matrix_file_in_blocks(const std::string& path, core::Matrix& matrix,
                                                    std::int32_t rows, std::int32_t cols, core::Heap& heap,
                                                    std::size_t block_size);

}  // namespace veltra::io
