#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::io {

// The result files. Every line break is written as CR LF. Each writer returns
// false when the file cannot be created or written completely (closing
// included); the mean values writer also when its temporary storage cannot
// be had from `heap` (then no file is created).

// One line per row, every value "%f ".
[[nodiscard]] bool write_prototypes_file(const std::string& path, const core::Matrix& matrix,
                                         std::int32_t rows, std::int32_t cols);

// The values "%5d ", a line break after every per_line-th.
[[nodiscard]] bool write_frequency_file(const std::string& path, std::span<const std::int32_t> values,
                                        std::int32_t per_line);

// "%5d %2d" lines for the 1-based numbers start, start + step, ... <= last,
// each with its winner + 1.
[[nodiscard]] bool write_assignment_file(const std::string& path, std::span<const std::int32_t> winners,
                                         std::int32_t start, std::int32_t step, std::int32_t last);

// The counts as percentages of their sum "%6.2f ", a line break after every
// per_line-th.
[[nodiscard]] bool write_violations_file(const std::string& path, std::span<const std::int32_t> counts,
                                         std::int32_t per_line);

// The mean of the datavectors each prototype wins, under a header of
// variable numbers; no final line break.
[[nodiscard]] bool write_mean_values_file(const std::string& path, core::Heap& heap,
                                          std::span<const std::int32_t> winners, const core::Matrix& data,
                                          std::int32_t ndata, std::int32_t nprotos, std::int32_t nvars);

}  // namespace veltra::io
