#pragma once

#include <cstdint>

// The kernels of core::DataGrid (data_grid.h), built for processors with
// AVX-512 and its 16-bit integer dot products.
namespace veltra::core::grid {

// Rows sit side by side on the grid, sixteen a block: in a block, the 32-bit
// word of lane l at pair k holds the grid values of variables 2k and 2k + 1
// of the block's row l, as 16-bit integers, the low half first.
inline constexpr std::int32_t LANES = 16;

// The grid: value q of variable k stands for step * (offsets[k] + q), for q
// from 0 to top.
struct GridFrame {
    double step;  // a power of two
    const double* offsets;
    double top;
    std::int32_t nvars;
};

// The datavectors and the prototypes on the grid, as round_block leaves them;
// the prototypes' values are minus twice their grid values.
struct GridView {
    const std::int32_t* pairs;
    const std::int32_t* norms;
    const double* residuals;
    std::int32_t npairs;
    const std::int32_t* prototype_pairs;
    const std::int32_t* prototype_norms;
    std::int32_t nprotos;
    double step;
    double prototype_residual;  // the largest of the prototypes' residuals
};

// Whether this processor runs the kernels.
bool kernel_supported() noexcept;

// Rounds rows 0..count-1 (count at most 16) to the nearest grid value, or
// the nearest end of the grid, into one block: pairs gets their grid values
// times `factor` (1 or -2), norms[l] the sum of row l's squared grid values,
// and residuals[l] at least its distance to its grid point (NaN for a row
// with NaN). Lanes from count on get grid values 0 and residual +inf.
// The next block's rows, 16..16 + following - 1 (following at most 16, and 0
// unless count is 16), are fetched from memory meanwhile.
void round_block(const GridFrame& frame, const double* const* rows, std::int32_t count,
                 std::int32_t following, std::int32_t factor, std::int32_t* pairs, std::int32_t* norms,
                 double* residuals) noexcept;

// A number at most the sum, over the datavectors of blocks first..end-1, of
// the square of a lower bound of their distance to the nearest prototype,
// rounded.
double bound_sum(const GridView& grid, std::int32_t first, std::int32_t end) noexcept;

}  // namespace veltra::core::grid
