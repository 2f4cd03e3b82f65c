#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/grid_kernel.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core {

// The datavectors rounded to a grid of 16-bit integers, for a run of passes
// over data that do not change, each with its distance to its grid point.
// From them, and the prototypes rounded the same way, a pass gives a lower
// bound of the heterogeneity that the plain loops would compute for those
// prototypes, with half the products of a pass in single precision and none
// of its exact sums: enough to show that a pick trial cannot be adopted.
class DataGrid {
public:
    DataGrid() = default;
    DataGrid(const DataGrid&) = delete;
    DataGrid& operator=(const DataGrid&) = delete;
    ~DataGrid() { release(); }

    // Takes storage for ndata x nvars datavectors and up to nprotos
    // prototypes from the heap, in place of any held before, when the
    // processor has the kernel and the grid stays within a few megabytes.
    // Otherwise, or when the heap refuses, nothing is held and no grid is
    // ever made: the grid only saves time.
    void reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) noexcept;
    // Returns the storage to its heap; nothing is held afterwards.
    void release() noexcept;

    // Rounds rows 0..ndata-1 of `data` to the grid. Returns false, holding
    // no data, when the storage is too small for them or their values do not
    // suit a grid (a value not finite, or beyond 2^400 or so).
    bool hold(const Matrix& data, std::int32_t ndata, std::int32_t nvars) noexcept;
    // Forgets the data held.
    void drop() noexcept { data_ = nullptr; }
    // Whether the grid holds rows 0..ndata-1 of `data`, as hold made it.
    bool holds(const Matrix& data, std::int32_t ndata, std::int32_t nvars) const noexcept {
        return data_ == &data && ndata == ndata_ && nvars == nvars_;
    }

    // Rounds rows 0..nprotos-1 of `prototypes` to the grid of the data held.
    // Returns false when there are more than the storage takes or a value is
    // not finite.
    bool place(const Matrix& prototypes, std::int32_t nprotos) noexcept;
    // A sum of lower bounds of the squared distances of datavectors
    // begin..end-1 (begin a multiple of 16) to their nearest placed
    // prototype. Safe to call from several threads at once.
    double bound_sum(std::int32_t begin, std::int32_t end) const noexcept;
    // A number at most the heterogeneity that the plain loops compute for the
    // placed prototypes, from a sum of the bound_sums of some ranges of the
    // datavectors, added in any order.
    double heterogeneity_floor(double sum) const noexcept;

private:
    // Rounds nvars_ values to the grid: grid[k / 2 * pair_stride + k % 2] :=
    // the grid value of values[k] times `factor` (1 or -2); returns the sum
    // of the squared grid values, and residual := at least the distance of
    // `values` to their grid point.
    std::int32_t round_to_grid(const double* values, std::int16_t* grid, std::ptrdiff_t pair_stride,
                               std::int32_t factor, double& residual) const noexcept;

    Heap* heap_ = nullptr;
    void* block_ = nullptr;
    std::int32_t capacity_data_ = 0;
    std::int32_t capacity_protos_ = 0;
    std::int32_t capacity_vars_ = 0;
    std::int32_t* pairs_ = nullptr;
    std::int32_t* norms_ = nullptr;
    double* residuals_ = nullptr;
    double* offsets_ = nullptr;  // per variable, the grid value 0 in steps from 0
    std::int32_t* prototype_pairs_ = nullptr;
    std::int32_t* prototype_norms_ = nullptr;

    const Matrix* data_ = nullptr;  // the data held, or none
    std::int32_t ndata_ = 0;
    std::int32_t nvars_ = 0;
    std::int32_t top_ = 0;  // the largest grid value
    double step_ = 1.0;
    grid::GridView view_{};
};

}  // namespace veltra::core
