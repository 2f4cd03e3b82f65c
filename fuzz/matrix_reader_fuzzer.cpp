// Feeds arbitrary bytes to the matrix reader in several shapes and block
// splits and compares every stored value, bit for bit, with a direct
// character-by-character reading that converts with strtod.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/storage/heap.h"
#include "core/storage/storage.h"
#include "io/matrix_scanner.h"

namespace {

using veltra::core::Heap;
using veltra::core::Matrix;
using veltra::io::MAX_TOKEN_LENGTH;

constexpr double UNTOUCHED = -12345.678;

struct Shape {
    std::int32_t rows, cols;
};
constexpr Shape SHAPES[] = {{1, 1}, {2, 3}, {5, 1}, {1, 7}, {4, 4}};

bool is_number_character(unsigned char c) { return std::isdigit(c) || c == '.' || c == '-'; }

double reference_value(const std::string& token) {
    std::size_t end = 0;
    std::size_t digits = 0;
    if (end < token.size() && token[end] == '-') ++end;
    for (; end < token.size() && std::isdigit(static_cast<unsigned char>(token[end])); ++end) ++digits;
    if (end < token.size() && token[end] == '.') {
        for (++end; end < token.size() && std::isdigit(static_cast<unsigned char>(token[end])); ++end)
            ++digits;
    }
    return digits == 0 ? 0.0 : std::strtod(token.substr(0, end).c_str(), nullptr);
}

// The values a reader must store for this shape; complete when all were found.
std::vector<double> reference_read(const std::uint8_t* data, std::size_t size, Shape shape, bool& complete) {
    const auto wanted = static_cast<std::size_t>(shape.rows) * static_cast<std::size_t>(shape.cols);
    std::vector<double> values;
    std::string token;
    bool in_run = false;
    for (std::size_t i = 0; i < size && values.size() < wanted; ++i) {
        if (is_number_character(data[i])) {
            // A run longer than the token buffer fails the read.
            if (token.size() == MAX_TOKEN_LENGTH) break;
            token += static_cast<char>(data[i]);
            in_run = true;
        } else if (in_run) {
            values.push_back(reference_value(token));
            token.clear();
            in_run = false;
        }
    }
    complete = values.size() == wanted;
    return values;
}

Matrix fresh_matrix(Heap& heap, Shape shape) {
    auto m = veltra::core::alloc_matrix(heap, shape.rows, shape.cols);
    if (!m) std::abort();
    for (std::int32_t i = 0; i < shape.rows; ++i) std::fill((*m)[i], (*m)[i] + shape.cols, UNTOUCHED);
    return std::move(*m);
}

void check(const Matrix& m, Shape shape, const std::vector<double>& expected) {
    for (std::size_t k = 0; k < static_cast<std::size_t>(shape.rows * shape.cols); ++k) {
        const double actual =
            m[static_cast<std::int32_t>(k) / shape.cols][static_cast<std::int32_t>(k) % shape.cols];
        const double want = k < expected.size() ? expected[k] : UNTOUCHED;
        if (std::memcmp(&actual, &want, sizeof want) != 0) {
            std::fprintf(stderr, "value %zu: read %.17g, expected %.17g\n", k, actual, want);
            std::abort();
        }
    }
}

// The input as a file, for the block reading loop: an in-memory file, which is
// much faster to rewrite than one on disk.
std::string file_holding(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("matrix_reader_fuzzer", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (written <= 0) std::abort();
        done += static_cast<std::size_t>(written);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses how the text is split into blocks.
    const std::size_t block = size == 0 ? 1 : 1 + data[0] % 97;
    const auto* text = reinterpret_cast<const char*>(data);
    Heap heap;
    for (const Shape shape : SHAPES) {
        bool complete = false;
        const std::vector<double> expected = reference_read(data, size, shape, complete);

        Matrix whole = fresh_matrix(heap, shape);
        veltra::io::MatrixScanner whole_scanner(whole, shape.rows, shape.cols);
        whole_scanner.feed(text, size);
        if (whole_scanner.complete() != complete) std::abort();
        check(whole, shape, expected);

        Matrix split = fresh_matrix(heap, shape);
        veltra::io::MatrixScanner split_scanner(split, shape.rows, shape.cols);
        for (std::size_t at = 0; at < size && !split_scanner.feed(text + at, std::min(block, size - at));)
            at += block;
        if (split_scanner.complete() != complete) std::abort();
        check(split, shape, expected);
    }

    const std::string path = file_holding(data, size);
    const Shape shape = SHAPES[size % std::size(SHAPES)];
    bool complete = false;
    const std::vector<double> expected = reference_read(data, size, shape, complete);
    Matrix m = fresh_matrix(heap, shape);
    if ((veltra::io::read_matrix_file_in_blocks(path, m, shape.rows, shape.cols, heap, block) ==
         veltra::io::ReadResult::ok) != complete) {
        std::abort();
    }
    check(m, shape, expected);
    return 0;
}
