#include "core/measures.h"

#include <array>

#include "core/kernels/pair_distances.h"
#include "core/measures_plain.h"

// The fast versions of the plain loops in measures_plain.cpp, with the same
// bits.
namespace veltra::core {

double squared_distance(const double* a, const double* b, std::int32_t nvars) noexcept {
    return plain::squared_distance(a, b, nvars);
}

double max_distance(const double* a, const double* b, std::int32_t nvars) noexcept {
    return plain::max_distance(a, b, nvars);
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
