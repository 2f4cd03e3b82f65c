#include "io/matrix_scanner.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace veltra::io {

namespace {

constexpr std::array<bool, 256> NUMBER_CHARACTERS = [] {
    std::array<bool, 256> table{};
    for (char c = '0'; c <= '9'; ++c) table[static_cast<unsigned char>(c)] = true;
    table['.'] = true;
    table['-'] = true;
    return table;
}();

bool is_number_character(char c) noexcept { return NUMBER_CHARACTERS[static_cast<unsigned char>(c)]; }

const char* skip_separators(const char* p, const char* end) noexcept {
    while (p != end && !is_number_character(*p)) ++p;
    return p;
}

const char* skip_number_characters(const char* p, const char* end) noexcept {
    while (p != end && is_number_character(*p)) ++p;
    return p;
}

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

}  // namespace

double convert_token(const char* token, std::size_t length) noexcept {
    // The pattern of from_chars in fixed format (optional minus, digits with
    // at most one point, at least one digit) is the reader's decimal prefix,
    // and from_chars converts the longest prefix that matches it, correctly
    // rounded. Without a match it leaves the value alone: 0.0. At most 80
    // characters can neither overflow nor underflow a double.
    double value = 0.0;
    std::from_chars(token, token + length, value, std::chars_format::fixed);
    return value;
}

MatrixScanner::MatrixScanner(core::Matrix& matrix, std::int32_t rows, std::int32_t cols) noexcept
    : matrix_(matrix), rows_(rows), cols_(cols) {}

bool MatrixScanner::feed(const char* block, std::size_t size) noexcept {
    if (complete()) return true;
    const char* p = block;
    const char* const end = block + size;
    if (run_open_) {
        const char* const run_end = skip_number_characters(p, end);
        append_to_token(p, static_cast<std::size_t>(run_end - p));
        if (run_end == end) return false;
        run_open_ = false;
        store(token_, token_length_);
        if (complete()) return true;
        p = run_end + 1;  // past the separator
    }
    for (;;) {
        const char* const run = skip_separators(p, end);
        if (run == end) return false;
        const char* const run_end = skip_number_characters(run, end);
        const auto length = static_cast<std::size_t>(run_end - run);
        if (run_end == end) {
            run_open_ = true;
            token_length_ = 0;
            append_to_token(run, length);
            return false;
        }
        store(run, std::min(length, MAX_TOKEN_LENGTH));
        if (complete()) return true;
        p = run_end + 1;
    }
}

void MatrixScanner::append_to_token(const char* run, std::size_t length) noexcept {
    const std::size_t taken = std::min(length, MAX_TOKEN_LENGTH - token_length_);
    std::memcpy(token_ + token_length_, run, taken);
    token_length_ += taken;
}

void MatrixScanner::store(const char* token, std::size_t length) noexcept {
    matrix_[row_][col_] = convert_token(token, length);
    if (++col_ == cols_) {
        col_ = 0;
        ++row_;
    }
}

bool read_matrix_file_in_blocks(const std::string& path, core::Matrix& matrix, std::int32_t rows,
                                std::int32_t cols, std::size_t block_size) {
    if (rows < 1 || cols < 1 || matrix.rows() < rows || matrix.cols() < cols || block_size == 0) return false;
    // Binary mode: a carriage return is a separator like any other byte.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    const std::unique_ptr<char[]> block(new (std::nothrow) char[block_size]);
    if (!block) return false;
    MatrixScanner scanner(matrix, rows, cols);
    for (;;) {
        const std::size_t size = std::fread(block.get(), 1, block_size, file.get());
        if (size == 0) break;
        if (scanner.feed(block.get(), size)) break;
    }
    return scanner.complete();
}

}  // namespace veltra::io
