#include "io/matrix_reader.h"

namespace veltra::io {

// Placeholder until the reader lands.
bool read_matrix_file(const std::string&, core::Matrix&, std::int32_t, std::int32_t) { return false; }

}  // namespace veltra::io
