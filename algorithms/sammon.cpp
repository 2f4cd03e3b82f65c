#include "algorithms/sammon.h"

#include <cmath>
#include <limits>

#include "core/measures.h"

namespace veltra::algorithms {

namespace {

// Position of the pair (i, k), i > k, in the packed distance table.
std::int32_t pair_index(std::int32_t i, std::int32_t k) { return i * (i - 1) / 2 + k; }

double input_distance(const core::RealVector& table, std::int32_t j, std::int32_t k) {
    return j > k ? table[pair_index(j, k)] : table[pair_index(k, j)];
}

// coordinate + SAMMON_MAGIC_FACTOR * g / |h|, or the coordinate unchanged
// when h is 0 or the result would not be finite.
double moved(double coordinate, double g, double h) {
    if (h == 0.0) return coordinate;
    const double next = coordinate + SAMMON_MAGIC_FACTOR * g / std::fabs(h);
    return std::isfinite(next) ? next : coordinate;
}

// One simultaneous update of every point from the configuration (x, y) into
// (next_x, next_y).
void update_step(const core::RealVector& table, const double* x, const double* y, double* next_x,
                 double* next_y, std::int32_t n) {
    for (std::int32_t j = 0; j < n; ++j) {
        double gx = 0.0;
        double gy = 0.0;
        double hx = 0.0;
        double hy = 0.0;
        for (std::int32_t k = 0; k < n; ++k) {
            if (k == j) continue;
            const double dx = x[j] - x[k];
            const double dy = y[j] - y[k];
            const double d = std::sqrt(dx * dx + dy * dy);
            const double big_d = input_distance(table, j, k);
            const double e = big_d - d;
            const double q = big_d * d;
            // Equal prototypes, coinciding points or a non-finite input
            // distance: the pair tells nothing and would divide by zero.
            if (q == 0.0 || !std::isfinite(big_d)) continue;
            gx += dx * e / q;
            gy += dy * e / q;
            hx += (e - (dx * dx / d) * (1 + e / d)) / q;
            hy += (e - (dy * dy / d) * (1 + e / d)) / q;
        }
        next_x[j] = moved(x[j], gx, hx);
        next_y[j] = moved(y[j], gy, hy);
    }
}

// coordinates[j] := next[j] - mean of next (summed in index order).
void centre(const double* next, double* coordinates, std::int32_t n) {
    double sum = 0.0;
    for (std::int32_t j = 0; j < n; ++j) sum += next[j];
    const double mean = sum / n;
    for (std::int32_t j = 0; j < n; ++j) coordinates[j] = next[j] - mean;
}

double stress_of(const core::RealVector& table, const double* x, const double* y, std::int32_t n) {
    double total = 0.0;
    double error = 0.0;
    for (std::int32_t i = 1; i < n; ++i) {
        for (std::int32_t k = 0; k < i; ++k) {
            const double big_d = table[pair_index(i, k)];
            if (!(big_d > 0.0) || !std::isfinite(big_d)) continue;
            const double dx = x[i] - x[k];
            const double dy = y[i] - y[k];
            const double d = std::sqrt(dx * dx + dy * dy);
            total += big_d;
            error += (big_d - d) * (big_d - d) / big_d;
        }
    }
    return total == 0.0 ? 0.0 : error / total;
}

}  // namespace

bool sammon_project(const core::Matrix& prototypes, double* x, double* y, std::int32_t n, std::int32_t nvars,
                    std::int32_t iterations, double& stress, core::Heap& heap,
                    core::RandomGenerator& random) {
    random.seed_random_from_clock();
    const std::int64_t pairs = std::int64_t{n} * (n - 1) / 2;
    if (n < 1 || pairs > std::numeric_limits<std::int32_t>::max()) return false;
    auto next_x = core::alloc_real_vector(heap, n);
    if (!next_x) return false;
    auto next_y = core::alloc_real_vector(heap, n);
    if (!next_y) return false;  // next_x is released on return
    auto table = core::alloc_real_vector(heap, static_cast<std::int32_t>(pairs));
    if (!table) return false;

    for (std::int32_t i = 0; i < n; ++i) {
        x[i] = static_cast<double>(random.draw_random() % n) / n;
        y[i] = static_cast<double>(i) / n;
    }
    for (std::int32_t i = 1; i < n; ++i) {
        for (std::int32_t k = 0; k < i; ++k) {
            (*table)[pair_index(i, k)] =
                std::sqrt(core::squared_distance(prototypes[i], prototypes[k], nvars));
        }
    }
    for (std::int32_t t = 0; t < iterations; ++t) {
        update_step(*table, x, y, next_x->data(), next_y->data(), n);
        centre(next_x->data(), x, n);
        centre(next_y->data(), y, n);
    }
    // The stress of the last repetition's configuration, computed once.
    stress = stress_of(*table, x, y, n);
    return true;
}

}  // namespace veltra::algorithms
