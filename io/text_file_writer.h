#pragma once

#include <cstdio>
#include <string>

namespace veltra::io {

// How a "\n" of the formatted text is written.
enum class LineBreak { crlf, lf };

// A result file being written: created (or truncated) on construction, every
// "\n" of the formatted text written as CR LF (or as it stands with
// LineBreak::lf). Any failure (creation, a write, the final flush or close)
// is remembered and reported by close().
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& path, LineBreak line_break = LineBreak::crlf) noexcept;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    ~TextFileWriter();

    // Whether the file could be created.
    bool is_open() const noexcept { return file_ != nullptr; }

    // Formats like printf, however long the text, and writes it.
    void print(const char* format, ...) noexcept __attribute__((format(printf, 2, 3)));

    // Closes the file; true when it was created and every byte reached it.
    [[nodiscard]] bool close() noexcept;

private:
    void write_with_crlf(const char* text, std::size_t length) noexcept;

    std::FILE* file_;
    bool ok_;
    LineBreak line_break_;
};

}  // namespace veltra::io
