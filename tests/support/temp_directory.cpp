#include "tests/support/temp_directory.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace veltra::testing {

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltra-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    root_ = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempDirectory::path(std::string_view name) const { return (root_ / name).string(); }

std::string TempDirectory::write(std::string_view name, std::string_view bytes) const {
    const std::string full = path(name);
    std::ofstream(full, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
}

std::string TempDirectory::read(std::string_view name) const { return read_bytes(path(name)); }

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace veltra::testing
