#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace veltra::io {

// A file that is replaced whole or not at all. The bytes go to a new
// temporary file in the target's folder, which is renamed over the target
// only when commit() finds every byte written, flushed and closed; without a
// successful commit the temporary file is removed and an existing target
// keeps its bytes. A symbolic link as target is followed (the file it points
// to is replaced); a replaced file keeps its permission bits. A target that
// exists and is no regular file (a device, a FIFO) is written in place: it
// has no bytes to keep.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // The stream to write to; nullptr when the file could not be created.
    std::FILE* stream() const noexcept { return file_; }

    // Flushes, closes and checks the stream, then puts the file in place.
    // True when every byte reached the target. The stream is gone afterwards.
    [[nodiscard]] bool commit() noexcept;

private:
    void discard() noexcept;

    std::string target_;
    std::string temporary_;  // empty when writing in place
    std::FILE* file_ = nullptr;
};

// Replaces `path` with exactly `bytes` through an AtomicFile.
[[nodiscard]] bool write_file_atomically(const std::string& path, std::string_view bytes);

}  // namespace veltra::io
