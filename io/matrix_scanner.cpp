#include "io/matrix_scanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>

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

// Closes a file descriptor when it goes.
class InputFile {
public:
    explicit InputFile(int fd) noexcept : fd_(fd) {}
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const noexcept { return fd_; }

private:
    int fd_;
};

// The file opened for reading when it is a regular file or a pipe; -1 for
// anything else. Devices and directories never end or cannot be read, so they
// are refused before they are opened; a FIFO is opened without waiting for a
// writer, so one without a writer reads as empty at once.
int open_input(const std::string& path) {
    struct stat status {};
    const auto readable = [&status] { return S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode); };
    if (::stat(path.c_str(), &status) != 0 || !readable()) return -1;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    // The path may have been replaced meanwhile: what counts is what was opened.
    if (::fstat(fd, &status) != 0 || !readable() ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == -1) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The next bytes of the file, as many as are there now (a pipe gives what its
// writer wrote so far); 0 at the end or on an error.
std::size_t read_some(int fd, char* block, std::size_t size) noexcept {
    for (;;) {
        const ssize_t count = ::read(fd, block, size);
        if (count >= 0) return static_cast<std::size_t>(count);
        if (errno != EINTR) return 0;
    }
}

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
    if (over()) return true;
    const char* p = block;
    const char* const end = block + size;
    if (run_open_) {
        const char* const run_end = skip_number_characters(p, end);
        if (!append_to_token(p, static_cast<std::size_t>(run_end - p))) return true;
        if (run_end == end) return false;
        run_open_ = false;
        store(token_, token_length_);
        if (over()) return true;
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
            return !append_to_token(run, length);
        }
        if (length > MAX_TOKEN_LENGTH) {
            too_long_ = true;
            return true;
        }
        store(run, length);
        if (over()) return true;
        p = run_end + 1;
    }
}

bool MatrixScanner::append_to_token(const char* run, std::size_t length) noexcept {
    if (length > MAX_TOKEN_LENGTH - token_length_) {
        too_long_ = true;
        return false;
    }
    std::memcpy(token_ + token_length_, run, length);
    token_length_ += length;
    return true;
}

void MatrixScanner::store(const char* token, std::size_t length) noexcept {
    matrix_[row_][col_] = convert_token(token, length);
    if (++col_ == cols_) {
        col_ = 0;
        ++row_;
    }
}

ReadResult read_matrix_file_in_blocks(const std::string& path, core::Matrix& matrix, std::int32_t rows,
                                      std::int32_t cols, core::Heap& heap, std::size_t block_size) {
    if (rows < 1 || cols < 1 || matrix.rows() < rows || matrix.cols() < cols || block_size == 0 ||
        block_size > std::size_t{INT32_MAX}) {
        return ReadResult::read_error;
    }
    const InputFile file(open_input(path));
    if (file.fd() < 0) return ReadResult::read_error;
    auto block = core::Vector<char>::allocate(heap, static_cast<std::int32_t>(block_size));
    if (!block) return ReadResult::out_of_memory;
    MatrixScanner scanner(matrix, rows, cols);
    for (;;) {
        // Bytes are bytes here: a carriage return separates like any other.
        const std::size_t size = read_some(file.fd(), block->data(), block_size);
        if (size == 0) break;
        if (scanner.feed(block->data(), size)) break;
    }
    return scanner.complete() ? ReadResult::ok : ReadResult::read_error;
}

}  // namespace veltra::io
