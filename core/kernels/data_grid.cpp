#include "core/kernels/data_grid.h"

#include <algorithm>
#include <cmath>

#include "core/kernels/instruction_set.h"

namespace veltra::core {

namespace {

using grid::LANES;

constexpr std::size_t ALIGNMENT_BYTES = 64;

// The grid of the data takes at most this much memory; larger data go
// without.
constexpr std::size_t GRID_BYTES = std::size_t{8} << 20;

// Sampled values beyond this in size make no grid: below it, no product of
// the grid's arithmetic overflows.
constexpr double LARGEST = 0x1p400;

// Datavectors sampled for the grid's range, at most.
constexpr std::int32_t SAMPLES = 512;

std::size_t rounded_up(std::size_t bytes) noexcept {
    return (bytes + ALIGNMENT_BYTES - 1) / ALIGNMENT_BYTES * ALIGNMENT_BYTES;
}

std::int32_t pairs_of(std::int32_t nvars) noexcept { return (nvars + 1) / 2; }

std::int32_t blocks_of(std::int32_t rows) noexcept { return (rows + LANES - 1) / LANES; }

}  // namespace

void DataGrid::reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) noexcept {
    release();
    if (nprotos < 1 || nvars < 1 || ndata < 1 || !grid::kernel_supported()) return;
    const auto npairs = static_cast<std::size_t>(pairs_of(nvars));
    const auto lanes = static_cast<std::size_t>(blocks_of(ndata)) * LANES;
    const auto prototype_lanes = static_cast<std::size_t>(blocks_of(nprotos)) * LANES;
    const std::size_t pairs_bytes = lanes * npairs * sizeof(std::int32_t);
    if (pairs_bytes > GRID_BYTES) return;
    const std::size_t norms_bytes = rounded_up(lanes * sizeof(std::int32_t));
    const std::size_t residuals_bytes = lanes * sizeof(double);
    const std::size_t prototype_pairs_bytes = prototype_lanes * npairs * sizeof(std::int32_t);
    const std::size_t prototype_norms_bytes = prototype_lanes * sizeof(std::int32_t);
    const std::size_t prototype_residuals_bytes = prototype_lanes * sizeof(double);
    void* block = heap.allocate(pairs_bytes + norms_bytes + residuals_bytes + prototype_pairs_bytes +
                                prototype_norms_bytes + prototype_residuals_bytes +
                                2 * static_cast<std::size_t>(nvars) * sizeof(double));
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
    prototype_pairs_ = reinterpret_cast<std::int32_t*>(at += residuals_bytes);
    prototype_norms_ = reinterpret_cast<std::int32_t*>(at += prototype_pairs_bytes);
    prototype_residuals_ = reinterpret_cast<double*>(at += prototype_norms_bytes);
    offsets_ = reinterpret_cast<double*>(at + prototype_residuals_bytes);
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
// are exact, and per variable an offset. The largest grid value keeps every
// squared grid distance and norm within 32 bits, and twice it within 16. The
// ranges come from a sample of the datavectors, widened by a sixteenth on
// either side: a value outside goes to an end of the grid, and its residual
// makes its bound smaller, but still a bound.
bool DataGrid::frame(const Matrix& data, std::int32_t ndata, std::int32_t nvars) noexcept {
    drop();
    if (!block_ || ndata < 1 || ndata > capacity_data_ || nvars < 1 || nvars > capacity_vars_ ||
        active_instruction_set() != InstructionSet::avx512)
        return false;
    const double top = std::min(16383.0, std::floor(std::sqrt(2147483647.0 / nvars)));
    if (top < 64.0) return false;
    double* lows = offsets_;
    double* highs = offsets_ + nvars;
    for (std::int32_t k = 0; k < nvars; ++k) lows[k] = highs[k] = data[0][k];
    for (std::int32_t i = 0; i < ndata; i += std::max(ndata / SAMPLES, std::int32_t{1})) {
        for (std::int32_t k = 0; k < nvars; ++k) {
            const double x = data[i][k];
            if (!(std::abs(x) <= LARGEST)) return false;
            lows[k] = std::min(lows[k], x);
            highs[k] = std::max(highs[k], x);
        }
    }
    double range = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) {
        const double wide = highs[k] - lows[k];
        lows[k] -= wide / 16.0;
        range = std::max(range, wide * 1.125);
    }
    // One step is left for the rounding at either end.
    double step = range > 0.0 ? std::ldexp(1.0, std::ilogb(range / (top - 1.0))) : 1.0;
    while (step * (top - 1.0) < range) step *= 2.0;
    if (step < 0x1p-400) return false;
    for (std::int32_t k = 0; k < nvars; ++k) {
        offsets_[k] = std::floor(lows[k] / step);
        if (!(std::abs(offsets_[k]) <= 0x1p52)) return false;
    }
    data_ = &data;
    ndata_ = ndata;
    nvars_ = nvars;
    frame_ = grid::GridFrame{step, offsets_, top, nvars};
    view_ = grid::GridView{pairs_, norms_, residuals_, pairs_of(nvars), prototype_pairs_, prototype_norms_,
                           0,      step,   0.0};
    return true;
}

void DataGrid::round(std::int32_t begin, std::int32_t end) noexcept {
    const std::int32_t npairs = pairs_of(nvars_);
    for (std::int32_t first = begin; first < end; first += LANES) {
        const std::int32_t count = std::min(end - first, LANES);
        grid::round_block(frame_, data_->row_entry(first), count, std::min(end - first - count, LANES), 1,
                          pairs_ + static_cast<std::ptrdiff_t>(first) * npairs, norms_ + first,
                          residuals_ + first);
    }
}

bool DataGrid::place(const Matrix& prototypes, std::int32_t nprotos) noexcept {
    if (!data_ || nprotos < 1 || nprotos > capacity_protos_) return false;
    const std::int32_t npairs = pairs_of(nvars_);
    for (std::int32_t first = 0; first < nprotos; first += LANES) {
        const std::int32_t count = std::min(nprotos - first, LANES);
        grid::round_block(frame_, prototypes.row_entry(first), count,
                          std::min(nprotos - first - count, LANES), -2,
                          prototype_pairs_ + static_cast<std::ptrdiff_t>(first) * npairs,
                          prototype_norms_ + first, prototype_residuals_ + first);
    }
    double largest = 0.0;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        if (std::isnan(prototype_residuals_[p])) return false;
        largest = std::max(largest, prototype_residuals_[p]);
    }
    view_.nprotos = nprotos;
    view_.prototype_residual = largest;
    return true;
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
