#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace veltra::testing {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDirectory {
public:
    TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();

    // The full path of `name` inside the directory.
    std::string path(std::string_view name) const;
    // Writes `bytes` exactly into `name` and returns its full path.
    std::string write(std::string_view name, std::string_view bytes) const;
    // The whole content of `name`; empty when it cannot be read.
    std::string read(std::string_view name) const;

private:
    std::filesystem::path root_;
};

// The whole content of a file; empty when it cannot be read.
std::string read_bytes(const std::string& path);

}  // namespace veltra::testing
