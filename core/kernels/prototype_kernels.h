#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "core/kernels/data_grid.h"
#include "core/kernels/prototype_lanes.h"
#include "core/kernels/prototype_rows.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core {

class ThreadPool;

// The engine behind the winner rule, the heterogeneity pass and the moves of
// training, owned by the workspace: a packed copy of the prototypes for the
// vector kernels, the scratch of the passes (both from the workspace heap,
// taken by reserve), and the threads that share the passes. The copy is kept
// from call to call and packed again whenever the rows it is asked about
// differ from it in any bit, so that writers of the prototypes need not tell
// it. Every result has exactly the bits of the plain loops in
// core/measures_plain.h. Used from one thread at a time.
class PrototypeKernels {
public:
    explicit PrototypeKernels(Heap& heap) noexcept;
    PrototypeKernels(const PrototypeKernels&) = delete;
    PrototypeKernels& operator=(const PrototypeKernels&) = delete;
    ~PrototypeKernels();

    // Takes the scratch for nprotos x nvars prototypes and ndata datavectors
    // from the heap, in place of any held before. Returns false, holding
    // nothing, when the heap refuses. Sizes the vector kernels cannot take
    // (no prototypes or variables, more than 64 prototypes) need no scratch.
    [[nodiscard]] bool reserve(std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) noexcept;
    // Returns the scratch to the heap.
    void release() noexcept;

    // The winner rule and the heterogeneity, with the contracts and results of
    // their namesakes in core::plain. Sizes beyond the reserved scratch are
    // measured by those plain loops; nothing here allocates or fails.
    std::int32_t find_winner(const Matrix& prototypes, std::int32_t nprotos, const Matrix& data,
                             std::int32_t i, std::int32_t nvars) noexcept;
    void assign_winners(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                        std::int32_t nprotos, std::int32_t nvars, std::span<std::int32_t> winners) noexcept;
    double compute_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                                 std::span<const std::int32_t> winners, std::int32_t nvars) noexcept;
    // assign_winners, then compute_heterogeneity with those winners, in one
    // pass: each winner's distance is summed once, while its row is at hand.
    double assign_winners_and_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                                            std::int32_t nprotos, std::int32_t nvars,
                                            std::span<std::int32_t> winners) noexcept;
    // The same when the heterogeneity comes out below `limit`. Otherwise the
    // pass may stop as soon as its partial sum shows that it cannot, and then
    // returns a number at least `limit`, having assigned the winners of a
    // first part of the datavectors only.
    double assign_winners_and_heterogeneity_below(const Matrix& data, std::int32_t ndata,
                                                  const Matrix& prototypes, std::int32_t nprotos,
                                                  std::int32_t nvars, std::span<std::int32_t> winners,
                                                  double limit) noexcept;
    // Until end_trials, rows 0..ndata-1 of `data` stay as they are, and the
    // passes with a limit over them may first show from a grid of the data
    // (data_grid.h), at a fraction of a pass's cost, that they cannot come
    // out below it.
    void begin_trials(const Matrix& data, std::int32_t ndata, std::int32_t nvars) noexcept;
    void end_trials() noexcept;

    // A copy of rows 0..nprotos-1 for a training epoch to search and move, or
    // nullptr when the reserved scratch does not fit them. The rows get the
    // moves only from end_moves.
    [[nodiscard]] PrototypeRows* begin_moves(const Matrix& prototypes, std::int32_t nprotos,
                                             std::int32_t nvars) noexcept;
    // Writes the moved copy back into the rows that begin_moves copied.
    void end_moves(Matrix& prototypes) noexcept;

    // The number of threads (the caller's included) that share a pass, at
    // least 1; 0 means one per processor, the default. For tests and
    // benchmarks.
    void set_threads(std::int32_t threads) noexcept;

private:
    // Calls body(begin, end) on ranges that cover [0, n) once, on the threads
    // when `work` is large enough.
    template <class Body>
    void for_ranges(std::int32_t n, std::int64_t work, const Body& body);
    // The same with a body that returns false to stop the pass.
    template <class Body>
    void for_ranges_until(std::int32_t n, std::int64_t work, const Body& body);

    // A number at least `limit` when the grid shows that the heterogeneity
    // cannot come out below it, otherwise a smaller one.
    double grid_floor(std::int32_t ndata, std::int32_t nprotos, std::int32_t nvars, double limit);

    Heap* heap_;
    PrototypeLanes lanes_;
    DataGrid grid_;
    // Passes the grid ended, and passes it could not, since begin_trials.
    std::int32_t grid_stops_ = 0;
    std::int32_t grid_misses_ = 0;
    PrototypeRows rows_;
    // One distance per datavector, for the heterogeneity's sum, then one flag
    // per range of a pass that may stop.
    RealVector distances_;
    std::int32_t data_capacity_ = 0;  // datavectors the distances have room for
    std::unique_ptr<ThreadPool> pool_;
    std::int32_t threads_ = 0;
};

}  // namespace veltra::core
