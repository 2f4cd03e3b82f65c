#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/grid_kernel.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core {

// The datavectors rounded to a grid of 16-bit integers, for a run of passes
// over data that do not change, each with a bound of its distance to its grid
// point. From them, and the prototypes rounded the same way, a pass of
// integer dot products gives a lower bound of the heterogeneity that the plain
// loops would compute for those prototypes, at a fraction of the cost of the
// pass that measures it: enough to show that a pick trial cannot be adopted.
class DataGrid {
public:
    DataGrid() = default;
    DataGrid(const DataGrid&) = delete;
    DataGrid& operator=(const DataGrid&) = delete;
    ~DataGrid() { release(); }

    // Takes storage for ndata x nvars datavectors and up to nprotos
    // prototypes from the heap, in place of any held before, when the
    // processor has the kernels and the grid takes at most a few megabytes.
    // Otherwise, or when the heap refuses, nothing is held and no data are
    // ever framed: the grid only saves time.
    void reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) noexcept;
    // Returns the storage to its heap; nothing is held afterwards.
    void release() noexcept;

    // Chooses the grid for rows 0..ndata-1 of `data`, which round then puts
    // on it range by range; every range must be rounded before the first
    // bound_sum. Returns false, holding no data, when the storage is too small
    // for them, the active instruction set is narrower than the kernels', or
    // the values do not suit a grid (a value of the sample for the grid's
    // range not finite or beyond 2^400, a range too narrow for the grid).
    bool frame(const Matrix& data, std::int32_t ndata, std::int32_t nvars) noexcept;
    // Rounds datavectors begin..end-1 (begin a multiple of 16) of the framed
    // data to the grid. Safe to call from several threads at once on
    // different ranges.
    void round(std::int32_t begin, std::int32_t end) noexcept;
    // Forgets the data framed.
    void drop() noexcept { data_ = nullptr; }
    // Whether rows 0..ndata-1 of `data` are framed.
    bool holds(const Matrix& data, std::int32_t ndata, std::int32_t nvars) const noexcept {
        return data_ == &data && ndata == ndata_ && nvars == nvars_;
    }

    // Rounds rows 0..nprotos-1 of `prototypes` to the grid of the data.
    // Returns false when there are more than the storage takes or a value is
    // NaN.
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
    Heap* heap_ = nullptr;
    void* block_ = nullptr;
    std::int32_t capacity_data_ = 0;
    std::int32_t capacity_protos_ = 0;
    std::int32_t capacity_vars_ = 0;
    // Each block of sixteen rows takes a pair per two variables, each row a
    // norm and a residual.
    std::int32_t* pairs_ = nullptr;
    std::int32_t* norms_ = nullptr;
    double* residuals_ = nullptr;
    std::int32_t* prototype_pairs_ = nullptr;
    std::int32_t* prototype_norms_ = nullptr;
    double* prototype_residuals_ = nullptr;
    double* offsets_ = nullptr;  // per variable, then the largest values while framing

    const Matrix* data_ = nullptr;  // the data framed, or none
    std::int32_t ndata_ = 0;
    std::int32_t nvars_ = 0;
    grid::GridFrame frame_{};
    grid::GridView view_{};
};

}  // namespace veltra::core
