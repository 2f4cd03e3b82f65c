#include "core/measures.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>

#include "core/kernels/pair_distances.h"
#include "core/kernels/prototype_lanes.h"
#include "core/kernels/thread_pool.h"
#include "core/measures_plain.h"

// The fast versions of the plain loops in measures_plain.cpp, with the same
// bits. When scratch memory cannot be had they fall back to the plain loops.
namespace veltra::core {

namespace {

// Passes of fewer squared differences than this stay on the calling thread:
// waking the pool would cost more than it saves.
constexpr std::int64_t PARALLEL_WORK = std::int64_t{1} << 16;

// Rows handed to a kernel at once.
constexpr std::int32_t BATCH = 64;

// Scratch kept from call to call; used under kernel_mutex().
struct Scratch {
    PrototypeLanes lanes;
    std::unique_ptr<double[]> distances;
    std::int32_t distances_capacity = 0;

    [[nodiscard]] bool reserve_distances(std::int32_t n) noexcept {
        if (n <= distances_capacity) return true;
        distances.reset(new (std::nothrow) double[static_cast<std::size_t>(n)]);
        distances_capacity = distances ? n : 0;
        return distances != nullptr;
    }
};

Scratch& scratch() noexcept {
    static Scratch shared;
    return shared;
}

// Calls body(begin, end) on ranges that cover [0, n) once, in parallel when
// `work` is large enough. Each range writes only its own entries. The threads
// take ranges as they become free, so a thread that the system holds back
// does not hold up the others.
template <class Body>
void for_ranges(std::int32_t n, std::int64_t work, const Body& body) {
    ThreadPool* pool = kernel_pool();
    if (pool == nullptr || pool->size() == 1 || work < PARALLEL_WORK) {
        body(0, n);
        return;
    }
    constexpr std::int32_t RANGE = 256;
    std::atomic<std::int64_t> next{0};
    pool->run([&](std::int32_t) {
        for (;;) {
            const std::int64_t begin = next.fetch_add(RANGE, std::memory_order_relaxed);
            if (begin >= n) return;
            const auto first = static_cast<std::int32_t>(begin);
            body(first, n - first < RANGE ? n : first + RANGE);
        }
    });
}

std::int64_t work_of(std::int32_t rows, std::int32_t nprotos, std::int32_t nvars) noexcept {
    return std::int64_t{rows} * nprotos * nvars;
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

double squared_distance(const double* a, const double* b, std::int32_t nvars) noexcept {
    return plain::squared_distance(a, b, nvars);
}

double max_distance(const double* a, const double* b, std::int32_t nvars) noexcept {
    return plain::max_distance(a, b, nvars);
}

std::int32_t find_winner(const Matrix& prototypes, std::int32_t nprotos, const Matrix& data, std::int32_t i,
                         std::int32_t nvars) noexcept {
    if (nprotos < 1 || nvars < 1) return plain::find_winner(prototypes, nprotos, data, i, nvars);
    std::lock_guard lock(kernel_mutex());
    PrototypeLanes& lanes = scratch().lanes;
    if (!lanes.load(prototypes, nprotos, nvars))
        return plain::find_winner(prototypes, nprotos, data, i, nvars);
    return lanes.find_winner(data[i]);
}

void assign_winners(const Matrix& data, std::int32_t ndata, const Matrix& prototypes, std::int32_t nprotos,
                    std::int32_t nvars, std::span<std::int32_t> winners) noexcept {
    if (ndata <= 0 || nprotos < 1 || nvars < 1) {
        plain::assign_winners(data, ndata, prototypes, nprotos, nvars, winners);
        return;
    }
    std::lock_guard lock(kernel_mutex());
    PrototypeLanes& lanes = scratch().lanes;
    if (!lanes.load(prototypes, nprotos, nvars)) {
        plain::assign_winners(data, ndata, prototypes, nprotos, nvars, winners);
        return;
    }
    for_ranges(ndata, work_of(ndata, nprotos, nvars), [&](std::int32_t begin, std::int32_t end) {
        lanes.assign_winners(data, begin, end, winners.data());
    });
}

double compute_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                             std::span<const std::int32_t> winners, std::int32_t nvars) noexcept {
    std::lock_guard lock(kernel_mutex());
    Scratch& shared = scratch();
    if (ndata <= 0 || !shared.reserve_distances(ndata)) {
        return plain::compute_heterogeneity(data, ndata, prototypes, winners, nvars);
    }
    double* distances = shared.distances.get();
    for_ranges(ndata, work_of(ndata, 1, nvars), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t i = begin; i < end; i += BATCH) {
            winner_distances(data, prototypes, winners, i, std::min(end - i, BATCH), nvars, distances);
        }
    });
    return mean_in_index_order(distances, ndata);
}

double assign_winners_and_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                                        std::int32_t nprotos, std::int32_t nvars,
                                        std::span<std::int32_t> winners) noexcept {
    const auto plain_pair = [&] {
        plain::assign_winners(data, ndata, prototypes, nprotos, nvars, winners);
        return plain::compute_heterogeneity(data, ndata, prototypes, winners, nvars);
    };
    if (ndata <= 0 || nprotos < 1 || nvars < 1) return plain_pair();
    std::lock_guard lock(kernel_mutex());
    Scratch& shared = scratch();
    PrototypeLanes& lanes = shared.lanes;
    if (!shared.reserve_distances(ndata) || !lanes.load(prototypes, nprotos, nvars)) return plain_pair();
    double* distances = shared.distances.get();
    for_ranges(ndata, work_of(ndata, nprotos, nvars), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t i = begin; i < end; i += BATCH) {
            const std::int32_t count = std::min(end - i, BATCH);
            lanes.assign_winners(data, i, i + count, winners.data());
            winner_distances(data, prototypes, winners, i, count, nvars, distances);
        }
    });
    return mean_in_index_order(distances, ndata);
}

double compute_simplicity(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence) noexcept {
    constexpr std::size_t MAX_PAIRS = MAX_PROTOTYPES * (MAX_PROTOTYPES - 1) / 2;
    if (nprotos > MAX_PROTOTYPES) return plain::compute_simplicity(prototypes, nprotos, nvars, incidence);
    std::array<const double*, MAX_PAIRS> first{};
    std::array<const double*, MAX_PAIRS> second{};
    std::array<double, MAX_PAIRS> distances;
    std::int32_t pairs = 0;
    for (std::int32_t j = 0; j < nprotos; ++j) {
        for (std::int32_t k = j + 1; k < nprotos; ++k) {
            if (incidence[j][k] != 1) continue;
            first[pairs] = prototypes[j];
            second[pairs] = prototypes[k];
            ++pairs;
        }
    }
    squared_distances(first.data(), second.data(), pairs, nvars, distances.data());
    double sum = 0.0;
    for (std::int32_t n = 0; n < pairs; ++n) sum += distances[n];
    return pairs == 0 ? 0.0 : sum / pairs;
}

double compute_violations(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence, std::span<std::int32_t> counts) noexcept {
    if (nprotos > MAX_PROTOTYPES) {
        return plain::compute_violations(prototypes, nprotos, nvars, incidence, counts);
    }
    // Each distance the triple loop compares, computed once instead of once per
    // triple.
    std::array<std::array<double, MAX_PROTOTYPES>, MAX_PROTOTYPES> distance;
    for (std::int32_t j = 0; j < nprotos; ++j) {
        for (std::int32_t k = 0; k < nprotos; ++k) {
            if (incidence[j][k] != 0) distance[j][k] = max_distance(prototypes[j], prototypes[k], nvars);
        }
    }
    for (std::int32_t p = 0; p < nprotos; ++p) counts[p] = 0;
    std::int32_t comparable = 0;
    std::int32_t violations = 0;
    for (std::int32_t j = 0; j < nprotos; ++j) {
        for (std::int32_t k = 0; k < nprotos; ++k) {
            const int g_k = incidence[j][k];
            if (g_k == 0) continue;
            const double d_k = distance[j][k];
            for (std::int32_t l = 0; l < nprotos; ++l) {
                const int g_l = incidence[j][l];
                if (l == k || g_l == 0) continue;
                if (g_l != g_k) ++comparable;
                if (g_l > g_k && distance[j][l] < d_k) {
                    ++violations;
                    ++counts[j];
                    ++counts[l];
                }
            }
        }
    }
    return comparable == 0 ? 0.0 : violations * 100.0 / comparable;
}

}  // namespace veltra::core
