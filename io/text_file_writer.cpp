#include "io/text_file_writer.h"

#include <cstdarg>
#include <cstring>
#include <memory>
#include <new>

namespace veltra::io {

TextFileWriter::TextFileWriter(const std::string& path, LineBreak line_break)
    : file_(path), ok_(file_.stream() != nullptr), line_break_(line_break) {}

void TextFileWriter::print(const char* format, ...) noexcept {
    if (!ok_) return;
    char small[128];
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        ok_ = false;
    } else if (static_cast<std::size_t>(length) < sizeof small) {
        write_with_crlf(small, static_cast<std::size_t>(length));
    } else {
        // A value too wide for the small buffer (a huge "%f") is written whole.
        const std::unique_ptr<char[]> large(new (std::nothrow) char[static_cast<std::size_t>(length) + 1]);
        if (large &&
            std::vsnprintf(large.get(), static_cast<std::size_t>(length) + 1, format, again) == length) {
            write_with_crlf(large.get(), static_cast<std::size_t>(length));
        } else {
            ok_ = false;
        }
    }
    va_end(again);
}

void TextFileWriter::write_with_crlf(const char* text, std::size_t length) noexcept {
    if (line_break_ == LineBreak::lf) {
        if (std::fwrite(text, 1, length, file_.stream()) != length) ok_ = false;
        return;
    }
    const char* const end = text + length;
    while (text != end) {
        const auto* const line_break = static_cast<const char*>(std::memchr(text, '\n', end - text));
        const char* const line_end = line_break ? line_break : end;
        const auto line_length = static_cast<std::size_t>(line_end - text);
        if (std::fwrite(text, 1, line_length, file_.stream()) != line_length) ok_ = false;
        if (!line_break) return;
        if (std::fwrite("\r\n", 1, 2, file_.stream()) != 2) ok_ = false;
        text = line_break + 1;
    }
}

bool TextFileWriter::close() noexcept {
    // A failed write leaves the temporary file to be removed, never renamed.
    if (!ok_) return false;
    return file_.commit();
}

}  // namespace veltra::io
