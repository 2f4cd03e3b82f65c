#pragma once

#include <cstdint>

// The kernel of core::DataGrid (data_grid.h), built for processors with
// AVX-512 and its 16-bit integer dot products.
namespace veltra::core::grid {

// Datavectors side by side, sixteen a block: in block b, the 32-bit word of
// lane l at pair k holds the grid values of variables 2k and 2k + 1 of
// datavector 16b + l, as 16-bit integers (the low half first).
struct GridView {
    const std::int32_t* pairs;  // npairs x 16 words a block
    const std::int32_t* norms;  // each datavector's sum of squared grid values
    const double* residuals;    // each datavector's distance to its grid point, at least; +inf past the data
    std::int32_t npairs;
    // Prototype p's pair k, as minus twice its grid values, at
    // prototype_pairs[p * npairs + k], and its sum of squared grid values.
    const std::int32_t* prototype_pairs;
    const std::int32_t* prototype_norms;
    std::int32_t nprotos;
    double scale;               // the grid's step
    double prototype_residual;  // at least every prototype's distance to its grid point
};

// Whether this processor runs bound_sum.
bool kernel_supported() noexcept;

// A number at most the sum, over the datavectors of blocks first..end-1, of
// the square of a lower bound of their distance to the nearest prototype (see
// data_grid.cpp), rounded.
double bound_sum(const GridView& grid, std::int32_t first, std::int32_t end) noexcept;

}  // namespace veltra::core::grid
