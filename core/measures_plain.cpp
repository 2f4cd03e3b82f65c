#include "core/measures_plain.h"

#include <cmath>

namespace veltra::core::plain {

double squared_distance(const double* a, const double* b, std::int32_t nvars) noexcept {
    double sum = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) {
        const double d = a[k] - b[k];
        sum += d * d;
    }
    return sum;
}

double max_distance(const double* a, const double* b, std::int32_t nvars) noexcept {
    double largest = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) {
        const double d = std::fabs(a[k] - b[k]);
        if (d > largest) largest = d;
    }
    return largest;
}

std::int32_t find_winner(const Matrix& prototypes, std::int32_t nprotos, const Matrix& data, std::int32_t i,
                         std::int32_t nvars) noexcept {
    std::int32_t best = 0;
    double best_distance = squared_distance(prototypes[0], data[i], nvars);
    for (std::int32_t p = 1; p < nprotos; ++p) {
        const double d = squared_distance(prototypes[p], data[i], nvars);
        if (d < best_distance) {
            best_distance = d;
            best = p;
        }
    }
    return best;
}

void assign_winners(const Matrix& data, std::int32_t ndata, const Matrix& prototypes, std::int32_t nprotos,
                    std::int32_t nvars, std::span<std::int32_t> winners) noexcept {
    for (std::int32_t i = 0; i < ndata; ++i) winners[i] = find_winner(prototypes, nprotos, data, i, nvars);
}

double compute_heterogeneity(const Matrix& data, std::int32_t ndata, const Matrix& prototypes,
                             std::span<const std::int32_t> winners, std::int32_t nvars) noexcept {
    double sum = 0.0;
    for (std::int32_t i = 0; i < ndata; ++i) sum += squared_distance(data[i], prototypes[winners[i]], nvars);
    return sum / ndata;
}

double compute_simplicity(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence) noexcept {
    double sum = 0.0;
    std::int32_t pairs = 0;
    for (std::int32_t j = 0; j < nprotos; ++j) {
        for (std::int32_t k = j + 1; k < nprotos; ++k) {
            if (incidence[j][k] != 1) continue;
            sum += squared_distance(prototypes[j], prototypes[k], nvars);
            ++pairs;
        }
    }
    return pairs == 0 ? 0.0 : sum / pairs;
}

double compute_violations(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                          const IncidenceMatrix& incidence, std::span<std::int32_t> counts) noexcept {
    for (std::int32_t p = 0; p < nprotos; ++p) counts[p] = 0;
    std::int32_t comparable = 0;
    std::int32_t violations = 0;
    for (std::int32_t j = 0; j < nprotos; ++j) {
        for (std::int32_t k = 0; k < nprotos; ++k) {
            const int g_k = incidence[j][k];
            if (g_k == 0) continue;
            const double d_k = max_distance(prototypes[j], prototypes[k], nvars);
            for (std::int32_t l = 0; l < nprotos; ++l) {
                const int g_l = incidence[j][l];
                if (l == k || g_l == 0) continue;
                if (g_l != g_k) ++comparable;
                if (g_l > g_k && max_distance(prototypes[j], prototypes[l], nvars) < d_k) {
                    ++violations;
                    ++counts[j];
                    ++counts[l];
                }
            }
        }
    }
    return comparable == 0 ? 0.0 : violations * 100.0 / comparable;
}

}  // namespace veltra::core::plain
