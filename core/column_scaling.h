#pragma once

#include <cstdint>
#include <vector>

namespace veltra::core {

enum class Scaling { none, zscore, range };

// How the columns were scaled: original = stored * scales[v] + offsets[v].
struct ColumnScaling {
    std::vector<double> offsets;  // nvars, or empty for Scaling::none
    std::vector<double> scales;
    std::vector<std::int32_t> constant_columns;  // 0-based variables that were only centred
};

// Scales the columns of `values` (ndata x nvars, row by row) in place.
// zscore: (x - mean) / sd, the standard deviation with n - 1; range:
// (x - min) / (max - min), into [0, 1]. A constant column (every column of a
// single datavector among them) is only centred: each value becomes 0, with
// the value as offset and scale 1. Sums are taken in index order from 0.
ColumnScaling scale_columns(std::vector<double>& values, std::int32_t ndata, std::int32_t nvars,
                            Scaling scaling);

}  // namespace veltra::core
