#pragma once

#include <cstdio>
#include <string>

namespace veltra::io {

// A result file being written: created (or truncated) on construction, every
// "\n" of the formatted text written as CR LF. Any failure (creation, a write,
// the final flush or close) is remembered and reported by close().
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& path) noexcept;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    ~TextFileWriter();

    // Formats like printf, however long the text, and writes it.
    void print(const char* format, ...) noexcept __attribute__((format(printf, 2, 3)));

    // Closes the file; true when it was created and every byte reached it.
    [[nodiscard]] bool close() noexcept;

private:
    void write_with_crlf(const char* text, std::size_t length) noexcept;

    std::FILE* file_;
    bool ok_;
};

}  // namespace veltra::io
