#include "reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "algorithms/som_training_plain.h"
#include "core/map_shape.h"

namespace veltra::test {

core::Matrix matrix_of(core::Heap& heap, const Rows& rows) {
    auto matrix = core::alloc_matrix(heap, static_cast<std::int32_t>(rows.size()),
                                     static_cast<std::int32_t>(rows.at(0).size()));
    for (std::int32_t i = 0; i < matrix->rows(); ++i) std::copy(rows[i].begin(), rows[i].end(), (*matrix)[i]);
    return std::move(*matrix);
}

bool set_up(core::Workspace& ws, const Rows& data, std::int32_t rows, std::int32_t cols) {
    ws.ndata = static_cast<std::int32_t>(data.size());
    ws.nvars = static_cast<std::int32_t>(data.at(0).size());
    ws.data = matrix_of(ws.heap, data);
    return core::set_map_shape(ws, rows, cols) == core::MapShapeResult::ok;
}

void set_prototypes(core::Workspace& ws, const Rows& prototypes) {
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        std::copy(prototypes.at(p).begin(), prototypes.at(p).end(), ws.prototypes[p]);
    }
}

Rows rows_of(const core::Matrix& matrix, std::int32_t rows, std::int32_t cols) {
    Rows out;
    for (std::int32_t i = 0; i < rows; ++i) out.emplace_back(matrix[i], matrix[i] + cols);
    return out;
}

Rows prototypes_of(const core::Workspace& ws) { return rows_of(ws.prototypes, ws.nprotos, ws.nvars); }

double plain_squared_distance(const Row& a, const Row& b) {
    double sum = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k) sum += (a[k] - b[k]) * (a[k] - b[k]);
    return sum;
}

int plain_nearest(const Rows& prototypes, const Row& datavector) {
    int best = 0;
    for (std::size_t p = 1; p < prototypes.size(); ++p) {
        if (plain_squared_distance(prototypes[p], datavector) <
            plain_squared_distance(prototypes[best], datavector)) {
            best = static_cast<int>(p);
        }
    }
    return best;
}

double plain_heterogeneity(const Rows& data, const Rows& prototypes) {
    double sum = 0.0;
    for (const Row& v : data) sum += plain_squared_distance(v, prototypes[plain_nearest(prototypes, v)]);
    return sum / static_cast<double>(data.size());
}

int grid_distance(int p, int q, int cols) {
    return std::max(std::abs(p / cols - q / cols), std::abs(p % cols - q % cols));
}

double plain_simplicity(const Rows& prototypes, int cols) {
    double sum = 0.0;
    int pairs = 0;
    const int n = static_cast<int>(prototypes.size());
    for (int j = 0; j < n; ++j) {
        for (int k = j + 1; k < n; ++k) {
            if (grid_distance(j, k, cols) != 1) continue;
            sum += plain_squared_distance(prototypes[j], prototypes[k]);
            ++pairs;
        }
    }
    return pairs == 0 ? 0.0 : sum / pairs;
}

Rows plain_pick(const Rows& data, int nprotos, ReferenceLcg& lcg) {
    Rows picks;
    while (static_cast<int>(picks.size()) < nprotos) {
        const Row& candidate = data[static_cast<std::size_t>(lcg.next()) % data.size()];
        if (std::find(picks.begin(), picks.end(), candidate) == picks.end()) picks.push_back(candidate);
    }
    return picks;
}

void plain_epoch(Rows& prototypes, const Rows& data, int cols, int order, double rate, double factor,
                 std::uint32_t seed, std::vector<int>& flags) {
    FixedWorkspace f;
    const auto nprotos = static_cast<std::int32_t>(prototypes.size());
    ASSERT_TRUE(set_up(f.ws, data, nprotos / cols, cols));
    set_prototypes(f.ws, prototypes);
    for (std::int32_t p = 0; p < nprotos; ++p) f.ws.win_counts[p] = flags[p];
    f.ws.random.seed(seed);
    algorithms::plain::present_epoch(f.ws, {1, order, rate, factor});
    prototypes = prototypes_of(f.ws);
    for (std::int32_t p = 0; p < nprotos; ++p) flags[p] = f.ws.win_counts[p];
}

PlainSammon plain_sammon(const Rows& prototypes, int iterations, std::uint32_t seed) {
    const int n = static_cast<int>(prototypes.size());
    ReferenceLcg lcg(seed);
    PlainSammon s{Row(n), Row(n), 0.0};
    for (int i = 0; i < n; ++i) {
        s.x[i] = static_cast<double>(lcg.next() % n) / n;
        s.y[i] = static_cast<double>(i) / n;
    }
    auto input = [&](int a, int b) {
        return std::sqrt(plain_squared_distance(prototypes[a], prototypes[b]));
    };
    for (int t = 0; t < iterations; ++t) {
        Row nx(n), ny(n);
        for (int j = 0; j < n; ++j) {
            double gx = 0, gy = 0, hx = 0, hy = 0;
            for (int k = 0; k < n; ++k) {
                if (k == j) continue;
                const double dx = s.x[j] - s.x[k], dy = s.y[j] - s.y[k];
                const double d = std::sqrt(dx * dx + dy * dy);
                const double big_d = input(j, k);
                const double e = big_d - d, q = big_d * d;
                gx += dx * e / q;
                gy += dy * e / q;
                hx += (e - (dx * dx / d) * (1 + e / d)) / q;
                hy += (e - (dy * dy / d) * (1 + e / d)) / q;
            }
            nx[j] = s.x[j] + 0.2 * gx / std::fabs(hx);
            ny[j] = s.y[j] + 0.2 * gy / std::fabs(hy);
        }
        double sx = 0, sy = 0;
        for (int j = 0; j < n; ++j) sx += nx[j];
        for (int j = 0; j < n; ++j) sy += ny[j];
        for (int j = 0; j < n; ++j) {
            s.x[j] = nx[j] - sx / n;
            s.y[j] = ny[j] - sy / n;
        }
    }
    double e = 0, total = 0;
    for (int i = 1; i < n; ++i) {
        for (int k = 0; k < i; ++k) {
            const double big_d = input(i, k);
            const double d =
                std::sqrt((s.x[i] - s.x[k]) * (s.x[i] - s.x[k]) + (s.y[i] - s.y[k]) * (s.y[i] - s.y[k]));
            total += big_d;
            e += (big_d - d) * (big_d - d) / big_d;
        }
    }
    s.stress = e / total;
    return s;
}

}  // namespace veltra::test
