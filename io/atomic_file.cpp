#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace veltra::io {

namespace {

// The path with every symbolic link at its end followed, as open() would.
std::string followed_links(std::string path) {
    // The kernel's own limit of links followed in one lookup.
    for (int hop = 0; hop < 40; ++hop) {
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof link) break;
        std::string next(link, static_cast<std::size_t>(length));
        const std::size_t slash = path.rfind('/');
        if (next.front() != '/' && slash != std::string::npos) next.insert(0, path, 0, slash + 1);
        path = std::move(next);
    }
    return path;
}

// Opens an existing non-regular file for writing; a FIFO without a reader
// fails at once instead of blocking.
int open_in_place(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Creates a new file beside `target` under a name no other file has, with
// the permission bits of the file it will replace (or those a new file gets).
int create_temporary(const std::string& target, const struct stat* replaced, std::string& name) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string prefix = folder;
    prefix += '.';
    prefix += base;
    prefix += '.';
    prefix += std::to_string(::getpid());
    prefix += '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix;
        name += std::to_string(attempt);
        name += ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Best effort: a filesystem without permission bits keeps its own.
            if (replaced) ::fchmod(fd, replaced->st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST) break;
    }
    name.clear();
    return -1;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path) : target_(followed_links(path)) {
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    const int fd = exists && !S_ISREG(existing.st_mode)
                       ? open_in_place(target_)
                       : create_temporary(target_, exists ? &existing : nullptr, temporary_);
    if (fd < 0) return;
    // Binary mode: the writers choose their line breaks themselves.
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        discard();
    }
}

AtomicFile::~AtomicFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    discard();
}

bool AtomicFile::commit() noexcept {
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    // The bytes reach the disk before the name does, so that a crash never
    // leaves the target short.
    if (ok && !temporary_.empty()) ok = ::fsync(::fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok && !temporary_.empty()) {
        ok = std::rename(temporary_.c_str(), target_.c_str()) == 0;
        if (ok) temporary_.clear();
    }
    discard();
    return ok;
}

void AtomicFile::discard() noexcept {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool write_file_atomically(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    if (!file.stream()) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size()) return false;
    return file.commit();
}

}  // namespace veltra::io
