#pragma once

#include <string>

#include "io/atomic_file.h"

namespace veltra::io {

// How a "\n" of the formatted text is written.
enum class LineBreak { crlf, lf };

// A result file being written, every "\n" of the formatted text written as
// CR LF (or as it stands with LineBreak::lf). It replaces the file of its path whole at close(), or not at
// all (see AtomicFile). Any failure (creation, a write, the final flush, close or rename) is remembered and
// reported by close().
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& path, LineBreak line_break = LineBreak::crlf);
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Formats like printf, however long the text, and writes it.
    void print(const char* format, ...) noexcept __attribute__((format(printf, 2, 3)));

    // Closes the file and puts it in place; true when it was created and
    // every byte reached it.
    [[nodiscard]] bool close() noexcept;

private:
    void write_with_crlf(const char* text, std::size_t length) noexcept;

    AtomicFile file_;
    bool ok_;
    LineBreak line_break_;
};

}  // namespace veltra::io
