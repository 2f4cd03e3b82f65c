#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <vector>

#include "core/storage/storage.h"

namespace veltra::testing {

// A rows x cols matrix from `heap` holding `values` row by row (the rest 0).
inline core::Matrix make_matrix(core::Heap& heap, std::int32_t rows, std::int32_t cols,
                                std::initializer_list<double> values = {}) {
    auto m = core::alloc_matrix(heap, rows, cols);
    if (!m) throw std::runtime_error("test matrix not allocated");
    auto value = values.begin();
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < cols; ++j) (*m)[i][j] = value != values.end() ? *value++ : 0.0;
    }
    return std::move(*m);
}

// The matrix's values row by row.
inline std::vector<double> values_of(const core::Matrix& m) {
    std::vector<double> values;
    for (std::int32_t i = 0; i < m.rows(); ++i) values.insert(values.end(), m[i], m[i] + m.cols());
    return values;
}

}  // namespace veltra::testing
