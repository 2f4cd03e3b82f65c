#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace veltra::io {

// One cell of a written table: text, a real or an integer.
using TableCell = std::variant<std::string, double, std::int64_t>;

// Writes a CSV table: the header row, then the rows; cells separated by
// commas, text quoted (quotes doubled) when it holds a comma, a quote, a line
// break or blanks at either end, reals as "%.17g" (they read back to the same
// bits), integers in decimal; every line ends with LF. False when the file
// cannot be written completely.
[[nodiscard]] bool write_table_file(const std::string& path, const std::vector<std::string>& header,
                                    const std::vector<std::vector<TableCell>>& rows);

}  // namespace veltra::io
