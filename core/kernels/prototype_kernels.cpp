#include "core/kernels/prototype_kernels.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <new>
#include <thread>

#include "core/kernels/pair_distances.h"
#include "core/kernels/thread_pool.h"
#include "core/measures_plain.h"

namespace veltra::core {

namespace {

// Passes of fewer squared differences than this stay on the calling thread:
// waking the pool would cost more than it saves.
constexpr std::int64_t PARALLEL_WORK = std::int64_t{1} << 16;

// Rows handed to a kernel at once.
constexpr std::int32_t BATCH = 64;

// Datavectors a thread takes at a time.
constexpr std::int32_t RANGE = 256;

std::int64_t work_of(std::int32_t rows, std::int32_t nprotos, std::int32_t nvars) noexcept {
    return std::int64_t{rows} * nprotos * nvars;
}

std::int32_t default_threads() noexcept {
    return std::max(static_cast<std::int32_t>(std::thread::hardware_concurrency()), std::int32_t{1});
}

// distances[i] := the squared distance of datavector i to its winner, for
// first <= i < first + count (at most BATCH).
void winner_distances(const Matrix& data, const Matrix& prototypes, std::span<const std::int32_t> winners,
                      std::int32_t first, std::int32_t count, std::int32_t nvars,
                      double* distances) noexcept {
    const double* rows[BATCH];
    const double* winning[BATCH];
    for (std::int32_t b = 0; b < count; ++b) {
        rows[b] = data[first + b];
        winning[b] = prototypes[winners[first + b]];
    }
    squared_distances(rows, winning, count, nvars, distances + first);
}

// The mean of the distances of a pass, summed in index order after the pass as
// the plain loop sums it.
double mean_in_index_order(const double* distances, std::int32_t n) noexcept {
    double sum = 0.0;
    for (std::int32_t i = 0; i < n; ++i) sum += distances[i];
    return sum / n;
}

}  // namespace

PrototypeKernels::PrototypeKernels(Heap& heap) noexcept : heap_(&heap) {}

PrototypeKernels::~PrototypeKernels() = default;

bool PrototypeKernels::reserve(std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) noexcept {
    release();
    const bool packable = nprotos >= 1 && nvars >= 1 && nprotos <= lanes::MAX_LANE_PROTOTYPES;
    if (packable && !lanes_.reserve(*heap_, nprotos, nvars)) return false;
    if (packable && !rows_.reserve(*heap_, nprotos, nvars)) {
        lanes_.release();
        return false;
    }
    // After the distances, one flag per range of a pass that may stop.
    const std::int32_t rows = std::max(ndata, std::int32_t{0});
    auto distances = alloc_real_vector(*heap_, rows + (rows + RANGE - 1) / RANGE);
    if (!distances) {
        lanes_.release();
        rows_.release();
        return false;
    }
    distances_ = std::move(*distances);
    data_capacity_ = rows;
    if (packable) grid_.reserve(*heap_, nprotos, nvars, rows);
    return true;
}

void PrototypeKernels::release() noexcept {
    lanes_.release();
    rows_.release();
    grid_.release();
    release_block(distances_);
    data_capacity_ = 0;
}

void PrototypeKernels::set_threads(std::int32_t threads) noexcept {
    pool_.reset();
    threads_ = std::max(threads, std::int32_t{0});
}

// The threads take ranges as they become free, so a thread that the system
// holds back does not hold up the others. Each range writes only its own
// entries.
template <class Body>
void PrototypeKernels::for_ranges(std::int32_t n, std::int64_t work, const Body& body) {
    for_ranges_until(n, work, [&](std::int32_t begin, std::int32_t end) {
        body(begin, end);
        return true;
    });
}

// Ranges are taken in index order; once a body returns false, no thread takes
// another.
template <class Body>
void PrototypeKernels::for_ranges_until(std::int32_t n, std::int64_t work, const Body& body) {
    if (work >= PARALLEL_WORK && !pool_) {
        // Without the memory for a pool the pass runs on the calling thread.
        pool_.reset(new (std::nothrow) ThreadPool(threads_ > 0 ? threads_ : default_threads()));
    }
    if (work < PARALLEL_WORK || !pool_ || pool_->size() == 1) {
        for (std::int32_t first = 0; first < n; first += RANGE) {
            if (!body(first, n - first < RANGE ? n : first + RANGE)) return;
        }
        return;
    }
    std::atomic<std::int64_t> next{0};
    std::atomic<bool> stopped{false};
    pool_->run([&](std::int32_t) {
        while (!stopped.load(std::memory_order_relaxed)) {
            const std::int64_t begin = next.fetch_add(RANGE, std::memory_order_relaxed);
            if (begin >= n) return;
            const auto first = static_cast<std::int32_t>(begin);
            if (!body(first, n - first < RANGE ? n : first + RANGE))
                stopped.store(true, std::memory_order_relaxed);
        }
    });
}

std::int32_t PrototypeKernels::find_winner(const Matrix& prototypes, std::int32_t nprotos, const Matrix& data,
                                           std::int32_t i, std::int32_t nvars) noexcept {
    if (!lanes_.hold(prototypes, nprotos, nvars))
        return plain::find_winner(prototypes, nprotos, data, i, nvars);
    return lanes_.find_winner(data[i]);
}

void PrototypeKernels::assign_winners(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                                      std::int32_t nprotos, std::int32_t nvars,
                                      std::span<std::int32_t> winners) noexcept {
    if (ndata <= 0 || !lanes_.hold(prototypes, nprotos, nvars)) {
        plain::assign_winners(data, ndata, prototypes, nprotos, nvars, winners);
        return;
    }
    for_ranges(ndata, work_of(ndata, nprotos, nvars), [&](std::int32_t begin, std::int32_t end) {
        lanes_.assign_winners(data, begin, end, winners.data(), nullptr);
    });
}

double PrototypeKernels::compute_heterogeneity(const Matrix& data, std::int32_t ndata,
                                               const Matrix& prototypes,
                                               std::span<const std::int32_t> winners,
                                               std::int32_t nvars) noexcept {
    if (ndata <= 0 || ndata > data_capacity_) {
        return plain::compute_heterogeneity(data, ndata, prototypes, winners, nvars);
    }
    double* distances = distances_.data();
    for_ranges(ndata, work_of(ndata, 1, nvars), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t i = begin; i < end; i += BATCH) {
            winner_distances(data, prototypes, winners, i, std::min(end - i, BATCH), nvars, distances);
        }
    });
    return mean_in_index_order(distances, ndata);
}

double PrototypeKernels::assign_winners_and_heterogeneity(const Matrix& data, std::int32_t ndata,
                                                          const Matrix& prototypes, std::int32_t nprotos,
                                                          std::int32_t nvars,
                                                          std::span<std::int32_t> winners) noexcept {
    return assign_winners_and_heterogeneity_below(data, ndata, prototypes, nprotos, nvars, winners,
                                                  std::numeric_limits<double>::infinity());
}

// A pass with a limit first assigns the winners with a lower bound on each
// winner's distance, mostly from the screens, which spares measuring the
// distances. The bounds of each range are added to the sum in index order as
// soon as the ranges before it are done. Rounded addition and division never
// decrease when an operand grows, so that sum of bounds is at most the plain
// loop's partial sum, which non-negative terms added in index order never make
// smaller: once the bounds' sum divided by ndata reaches the limit, the
// heterogeneity cannot come out below it, and no more ranges are taken.
// Otherwise every winner is assigned, and the distances are measured.
double PrototypeKernels::assign_winners_and_heterogeneity_below(const Matrix& data, std::int32_t ndata,
                                                                const Matrix& prototypes,
                                                                std::int32_t nprotos, std::int32_t nvars,
                                                                std::span<std::int32_t> winners,
                                                                double limit) noexcept {
    if (ndata <= 0 || ndata > data_capacity_ || !lanes_.hold(prototypes, nprotos, nvars)) {
        plain::assign_winners(data, ndata, prototypes, nprotos, nvars, winners);
        return plain::compute_heterogeneity(data, ndata, prototypes, winners, nvars);
    }
    const bool bounded = limit < std::numeric_limits<double>::infinity();
    if (bounded && grid_.holds(data, ndata, nvars) && grid_.place(prototypes, nprotos)) {
        const double floor = grid_floor(ndata, nprotos, nvars, limit);
        if (floor >= limit) return floor;
    }
    double* distances = distances_.data();
    const std::int64_t work = work_of(ndata, nprotos, nvars);
    if (!bounded) {
        for_ranges(ndata, work, [&](std::int32_t begin, std::int32_t end) {
            for (std::int32_t i = begin; i < end; i += BATCH) {
                const std::int32_t count = std::min(end - i, BATCH);
                lanes_.assign_winners(data, i, i + count, winners.data(), nullptr);
                winner_distances(data, prototypes, winners, i, count, nvars, distances);
            }
        });
        return mean_in_index_order(distances, ndata);
    }
    // Whoever holds `summing` adds the done ranges that follow the summed
    // ones. A range done while another thread held it is seen by that thread
    // when it lets go (the default, sequentially consistent order).
    const std::int32_t ranges = (ndata + RANGE - 1) / RANGE;
    double* flags = distances + data_capacity_;
    const auto done = [&](std::int32_t r) { return std::atomic_ref<double>(flags[r]).load() != 0.0; };
    for (std::int32_t r = 0; r < ranges; ++r) flags[r] = 0.0;
    std::atomic<bool> summing{false};
    std::atomic<std::int32_t> summed{0};
    std::atomic<bool> reached{false};
    double sum = 0.0;
    const auto add_done_ranges = [&] {
        while (summed.load() < ranges && done(summed.load())) {
            if (summing.exchange(true)) return;
            for (std::int32_t r = summed.load(); r < ranges && done(r); r = summed.load()) {
                for (std::int32_t i = r * RANGE; i < std::min(ndata, (r + 1) * RANGE); ++i)
                    sum += distances[i];
                summed.store(r + 1);
                if (sum / ndata >= limit) reached.store(true, std::memory_order_relaxed);
            }
            summing.store(false);
        }
    };
    for_ranges_until(ndata, work, [&](std::int32_t begin, std::int32_t end) {
        lanes_.assign_winners(data, begin, end, winners.data(), distances);
        std::atomic_ref<double>(flags[begin / RANGE]).store(1.0);
        add_done_ranges();
        return !reached.load(std::memory_order_relaxed);
    });
    add_done_ranges();
    if (reached.load()) return sum / ndata;
    return compute_heterogeneity(data, ndata, prototypes, winners, nvars);
}

void PrototypeKernels::begin_trials(const Matrix& data, std::int32_t ndata, std::int32_t nvars) noexcept {
    grid_stops_ = 0;
    grid_misses_ = 0;
    if (!grid_.frame(data, ndata, nvars)) return;
    for_ranges(ndata, work_of(ndata, 1, nvars),
               [&](std::int32_t begin, std::int32_t end) { grid_.round(begin, end); });
}

void PrototypeKernels::end_trials() noexcept { grid_.drop(); }

// The ranges' bounds are added in any order, and the pass stops once their
// sum shows enough. Where the grid is too coarse for the data, or the trials
// too alike, its passes rarely end a trial; once they have missed four more
// times than they have ended one, the grid is dropped.
double PrototypeKernels::grid_floor(std::int32_t ndata, std::int32_t nprotos, std::int32_t nvars,
                                    double limit) {
    std::atomic<double> sum{0.0};
    for_ranges_until(ndata, work_of(ndata, nprotos, nvars) / 2, [&](std::int32_t begin, std::int32_t end) {
        const double bound = grid_.bound_sum(begin, end);
        return grid_.heterogeneity_floor(sum.fetch_add(bound) + bound) < limit;
    });
    const double floor = grid_.heterogeneity_floor(sum.load());
    if (floor >= limit) {
        ++grid_stops_;
    } else if (++grid_misses_ > grid_stops_ + 4) {
        grid_.drop();
    }
    return floor;
}

PrototypeRows* PrototypeKernels::begin_moves(const Matrix& prototypes, std::int32_t nprotos,
                                             std::int32_t nvars) noexcept {
    return rows_.hold(prototypes, nprotos, nvars) ? &rows_ : nullptr;
}

void PrototypeKernels::end_moves(Matrix& prototypes) noexcept { rows_.store(prototypes); }

}  // namespace veltra::core
