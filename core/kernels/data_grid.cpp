#include "core/kernels/data_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/kernels/instruction_set.h"

namespace veltra::core {

namespace {

constexpr std::size_t ALIGNMENT_BYTES = 64;

// The grid of the data takes at most this much memory; larger data go
// without.
constexpr std::size_t GRID_BYTES = std::size_t{8} << 20;

// Datavectors a block of the grid holds side by side.
constexpr std::int32_t LANES = 16;

// Values beyond this in size make no grid: below it, no square, sum or
// product of the grid's arithmetic overflows.
constexpr double LARGEST = 0x1p400;

std::size_t rounded_up(std::size_t bytes) noexcept {
    return (bytes + ALIGNMENT_BYTES - 1) / ALIGNMENT_BYTES * ALIGNMENT_BYTES;
}

std::int32_t pairs_of(std::int32_t nvars) noexcept { return (nvars + 1) / 2; }

std::int32_t blocks_of(std::int32_t ndata) noexcept { return (ndata + LANES - 1) / LANES; }

}  // namespace

void DataGrid::reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) noexcept {
    release();
    if (nprotos < 1 || nvars < 1 || ndata < 1 || !grid::kernel_supported()) return;
    const auto npairs = static_cast<std::size_t>(pairs_of(nvars));
    const auto lanes = static_cast<std::size_t>(blocks_of(ndata)) * LANES;
    const std::size_t pairs_bytes = lanes * npairs * sizeof(std::int32_t);
    if (pairs_bytes > GRID_BYTES) return;
    const std::size_t norms_bytes = rounded_up(lanes * sizeof(std::int32_t));
    const std::size_t residuals_bytes = rounded_up(lanes * sizeof(double));
    const std::size_t offsets_bytes = rounded_up(2 * static_cast<std::size_t>(nvars) * sizeof(double));
    const std::size_t prototype_bytes =
        rounded_up(static_cast<std::size_t>(nprotos) * npairs * sizeof(std::int32_t));
    void* block = heap.allocate(pairs_bytes + norms_bytes + residuals_bytes + offsets_bytes +
                                prototype_bytes + static_cast<std::size_t>(nprotos) * sizeof(std::int32_t));
    if (!block) return;
    // Each part starts on a 64-byte boundary, as the block does.
    auto* at = static_cast<unsigned char*>(block);
    heap_ = &heap;
    block_ = block;
    capacity_data_ = ndata;
    capacity_protos_ = nprotos;
    capacity_vars_ = nvars;
    pairs_ = reinterpret_cast<std::int32_t*>(at);
    norms_ = reinterpret_cast<std::int32_t*>(at += pairs_bytes);
    residuals_ = reinterpret_cast<double*>(at += norms_bytes);
    offsets_ = reinterpret_cast<double*>(at += residuals_bytes);
    prototype_pairs_ = reinterpret_cast<std::int32_t*>(at += offsets_bytes);
    prototype_norms_ = reinterpret_cast<std::int32_t*>(at + prototype_bytes);
}

void DataGrid::release() noexcept {
    if (heap_) heap_->release(block_);
    heap_ = nullptr;
    block_ = nullptr;
    capacity_data_ = 0;
    capacity_protos_ = 0;
    capacity_vars_ = 0;
    drop();
}

// The grid has one step for all variables, a power of two so that its points
// are exact, and per variable an offset that puts the smallest value near grid
// value 0. The largest grid value keeps every squared grid distance and norm
// within 32 bits, and twice it within 16.
bool DataGrid::hold(const Matrix& data, std::int32_t ndata, std::int32_t nvars) noexcept {
    drop();
    if (!block_ || ndata < 1 || ndata > capacity_data_ || nvars < 1 || nvars > capacity_vars_ ||
        active_instruction_set() != InstructionSet::avx512)
        return false;
    const double top = std::min(16383.0, std::floor(std::sqrt(2147483647.0 / nvars)));
    if (top < 64.0) return false;
    double* lows = offsets_;
    double* highs = offsets_ + nvars;
    for (std::int32_t k = 0; k < nvars; ++k) lows[k] = highs[k] = data[0][k];
    for (std::int32_t i = 0; i < ndata; ++i) {
        const double* row = data[i];
        for (std::int32_t k = 0; k < nvars; ++k) {
            if (!(std::abs(row[k]) <= LARGEST)) return false;
            lows[k] = std::min(lows[k], row[k]);
            highs[k] = std::max(highs[k], row[k]);
        }
    }
    double range = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) range = std::max(range, highs[k] - lows[k]);
    // One step is left for the rounding at either end.
    double step = range > 0.0 ? std::ldexp(1.0, std::ilogb(range / (top - 1.0))) : 1.0;
    while (step * (top - 1.0) < range) step *= 2.0;
    if (step < 0x1p-400) return false;
    for (std::int32_t k = 0; k < nvars; ++k) {
        offsets_[k] = std::floor(lows[k] / step);
        if (!(std::abs(offsets_[k]) <= 0x1p52)) return false;
    }
    nvars_ = nvars;
    top_ = static_cast<std::int32_t>(top);
    step_ = step;
    const std::int32_t npairs = pairs_of(nvars);
    auto* values = reinterpret_cast<std::int16_t*>(pairs_);
    const std::int32_t lanes = blocks_of(ndata) * LANES;
    for (std::int32_t i = 0; i < lanes; ++i) {
        std::int16_t* first =
            values + (static_cast<std::ptrdiff_t>(i / LANES) * npairs * LANES + i % LANES) * 2;
        if (i < ndata) {
            norms_[i] = round_to_grid(data[i], first, LANES * 2, 1, residuals_[i]);
        } else {
            for (std::int32_t k = 0; k < nvars; ++k) first[k / 2 * LANES * 2 + k % 2] = 0;
            norms_[i] = 0;
            residuals_[i] = std::numeric_limits<double>::infinity();
        }
        if (nvars % 2 != 0) first[nvars / 2 * LANES * 2 + 1] = 0;
    }
    data_ = &data;
    ndata_ = ndata;
    view_ =
        grid::GridView{pairs_, norms_, residuals_, npairs, prototype_pairs_, prototype_norms_, 0, step_, 0.0};
    return true;
}

bool DataGrid::place(const Matrix& prototypes, std::int32_t nprotos) noexcept {
    if (!data_ || nprotos < 1 || nprotos > capacity_protos_) return false;
    const std::int32_t npairs = pairs_of(nvars_);
    double largest = 0.0;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        auto* first =
            reinterpret_cast<std::int16_t*>(prototype_pairs_ + static_cast<std::ptrdiff_t>(p) * npairs);
        double residual = 0.0;
        prototype_norms_[p] = round_to_grid(prototypes[p], first, 2, -2, residual);
        if (std::isnan(residual)) return false;
        largest = std::max(largest, residual);
        if (nvars_ % 2 != 0) first[nvars_] = 0;
    }
    view_.nprotos = nprotos;
    view_.prototype_residual = largest;
    return true;
}

// Each value goes to the nearest grid value, or the nearest end of the grid;
// x - step * (offset + value) is then the exact residual, rounded once, and
// its norm is made larger than every rounding and underflow of its sum can
// have made it smaller. A value that is not a number goes to grid value 0
// and makes the residual NaN.
std::int32_t DataGrid::round_to_grid(const double* values, std::int16_t* grid, std::ptrdiff_t pair_stride,
                                     std::int32_t factor, double& residual) const noexcept {
    // Adding and subtracting 1.5 * 2^52 rounds a number of [0, 2^51) to an
    // integer.
    constexpr double ROUND = 0x1.8p52;
    const double inverse = 1.0 / step_;
    const double top = top_;
    std::int32_t norm = 0;
    double squares = 0.0;
    for (std::int32_t k = 0; k < nvars_; ++k) {
        double y = values[k] * inverse - offsets_[k];
        if (!(y >= 0.0)) y = 0.0;
        if (!(y <= top)) y = top;
        const double q = (y + ROUND) - ROUND;
        const double r = values[k] - step_ * (offsets_[k] + q);
        squares += r * r;
        const auto g = static_cast<std::int32_t>(q);
        norm += g * g;
        grid[k / 2 * pair_stride + k % 2] = static_cast<std::int16_t>(factor * g);
    }
    residual = std::sqrt(squares) * (1.0 + (nvars_ + 8.0) * 0x1p-52) + 0x1p-500;
    return norm;
}

double DataGrid::bound_sum(std::int32_t begin, std::int32_t end) const noexcept {
    return grid::bound_sum(view_, begin / LANES, blocks_of(end));
}

// The plain heterogeneity sums squares of rounded differences, each rounded
// and added in turn, then divides: it is at least the exact heterogeneity
// times (1 - 2^-53) to the power ndata + nvars + 3, less what underflow can
// lose (at most 2^-1074 for each of its operations). The bounds' sum exceeds
// the exact sum of lower bounds by fewer roundings than that; the margin here
// covers both.
double DataGrid::heterogeneity_floor(double sum) const noexcept {
    const double n = ndata_;
    const double shrink = 1.0 - (3.0 * n + 2.0 * nvars_ + 128.0) * 0x1p-52;
    const double lost = n * (nvars_ + 2.0) * 0x1p-1074;
    return std::max(0.0, sum * shrink - lost) / n;
}

}  // namespace veltra::core
